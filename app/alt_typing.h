#pragma once
// Keys pressed with Alt, which must not type into the panes.

class QKeyEvent;

namespace tortuval::app {

/// Whether `event` is a key pressed with Alt (AltGr excepted) that carries printable text, which
/// a text pane would otherwise type over its selection.
bool TypesWithAlt(const QKeyEvent& event);

}  // namespace tortuval::app
