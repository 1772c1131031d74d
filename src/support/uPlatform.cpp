#include "support/uPlatform.h"

TPlatform& Platform() {
  static TPlatform platform;
  return platform;
}
