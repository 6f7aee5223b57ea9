#pragma once
// A framed column of mutually exclusive choices with one selected index, or none.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace tortuval::app {

/// A radio group: a frame caption, item captions in one column, the selected index (-1 for
/// none, as at start) and a notification only when the selection changes.
class RadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  /// A group titled `caption` with one item per entry of `items`, none selected.
  RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

  /// The selected index, from 0, or -1 when no item is selected.
  int ItemIndex() const;

  /// Selects the item at `index` (notifying when that changes the selection); out of range
  /// leaves the selection as it is.
  void SetItemIndex(int index);

  /// Leaves no item selected, without notifying.
  void ClearSelection();

  /// Number of items.
  int ItemCount() const;

  /// The button of the item at `index`, for focus order and tests.
  QRadioButton* Item(int index) const;

 signals:
  /// The selection moved to `index`, by mouse, keyboard or SetItemIndex.
  void SelectionChanged(int index);

 private:
  QButtonGroup* buttons_;
};

}  // namespace tortuval::app
