#include "support/uPlatform.h"

TPlatform& Platform() {
  static TPlatform platform;
  return platform;
}

TDateTime LocalDateTimeNow() { return SystemTimeToDateTime(Platform().clock->LocalNow()); }
