#include "config/uOptions.h"

TOptions::TOptions() {
  for (char letter = 'A'; letter <= 'P'; ++letter)
    CustomColors.push_back(std::string("Color") + letter + "=FFFFFF");
  ToolTipText =
      "Local date: &ldate;, &$dd; (day #&dow;/week #&week;, &d;/&dim;, &doy;/&diy;)\r\n"
      "Local time: &time;";
}
