#include "app/radio_group.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tortuval::app {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)) {
  auto* column = new QVBoxLayout(this);
  column->setSpacing(0);
  column->setContentsMargins(2, 2, 0, 2);
  for (int index = 0; index < items.size(); ++index) {
    auto* button = new QRadioButton(items[index], this);
    buttons_->addButton(button, index);
    // Equal stretch spreads the items evenly over the frame's height.
    column->addWidget(button, 1);
  }
  // Only the newly checked button reports: un-checking the previous one, or clicking the item
  // already selected, is not a change of selection.
  connect(buttons_, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
    if (checked) emit SelectionChanged(index);
  });
}

int RadioGroup::ItemIndex() const { return buttons_->checkedId(); }

void RadioGroup::SetItemIndex(int index) {
  if (QRadioButton* button = Item(index)) button->setChecked(true);
}

void RadioGroup::ClearSelection() {
  QAbstractButton* checked = buttons_->checkedButton();
  if (checked == nullptr) return;
  // An exclusive group never leaves its last checked button unchecked.
  const QSignalBlocker quiet(buttons_);
  buttons_->setExclusive(false);
  checked->setChecked(false);
  buttons_->setExclusive(true);
}

int RadioGroup::ItemCount() const { return static_cast<int>(buttons_->buttons().size()); }

QRadioButton* RadioGroup::Item(int index) const {
  return qobject_cast<QRadioButton*>(buttons_->button(index));
}

}  // namespace tortuval::app
