#include "app/shell_font.h"

#include <QFontInfo>
#include <QString>

namespace tortuval::app {
namespace {

// Tried in this order. The condensed face comes first among the stand-ins because its widths are
// close to Tahoma's, so the longest example captions still fit in the radio group.
constexpr const char* kFamilies[] = {"Tahoma", "DejaVu Sans Condensed", "Liberation Sans", "Arial"};

// The first of kFamilies that is really installed. Asking for them as one list is not enough:
// font configuration may answer "Tahoma" with its own substitute before the list goes on.
QString InstalledFamily() {
  for (const char* name : kFamilies) {
    const QString family = QString::fromLatin1(name);
    if (QFontInfo(QFont(family)).family().compare(family, Qt::CaseInsensitive) == 0) {
      return family;
    }
  }
  return {};
}

}  // namespace

QFont ShellFont(int pixelHeight, bool bold) {
  static const QString family = InstalledFamily();
  QFont font;
  if (!family.isEmpty()) font.setFamily(family);
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  return font;
}

}  // namespace tortuval::app
