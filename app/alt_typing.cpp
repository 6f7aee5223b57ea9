#include "app/alt_typing.h"

#include <QKeyEvent>

namespace tortuval::app {

bool TypesWithAlt(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  if (!modifiers.testFlag(Qt::AltModifier)) return false;
  // AltGr arrives with the group switch on X11 and as Ctrl+Alt elsewhere; the characters it
  // gives (€, @, [, …) are meant to be typed.
  if (modifiers & (Qt::GroupSwitchModifier | Qt::ControlModifier)) return false;
  const QString text = event.text();
  for (QChar c : text) {
    if (c.isPrint()) return true;
  }
  return false;
}

}  // namespace tortuval::app
