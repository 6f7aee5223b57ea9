#include "app/client_layout.h"

#include <algorithm>

namespace tortuval::app {
namespace {

constexpr QRect kRadioGroup1Place{8, 8, 198, 435};
constexpr QPoint kLabel2Place{212, 8};
constexpr QRect kEditeur2Place{211, 32, 377, 413};
constexpr QPoint kLabel1Place{600, 8};
constexpr QRect kEditeurPlace{596, 32, 365, 413};

// Narrower panes would cut their headings and most program lines.
constexpr int kMinimumPaneWidth = 150;

}  // namespace

ClientLayout LayoutForClient(QSize client) {
  const int narrower = std::max(0, kClientSize.width() - client.width());
  const int shorter = std::max(0, kClientSize.height() - client.height());
  const int listingLoss =
      narrower * kEditeur2Place.width() / (kEditeur2Place.width() + kEditeurPlace.width());
  const int logoLoss = narrower - listingLoss;
  return {
      kRadioGroup1Place.adjusted(0, 0, 0, -shorter),
      kLabel2Place,
      kEditeur2Place.adjusted(0, 0, -listingLoss, -shorter),
      kLabel1Place - QPoint(listingLoss, 0),
      kEditeurPlace.translated(-listingLoss, 0).adjusted(0, 0, -logoLoss, -shorter),
  };
}

QSize MinimumClientSize(int radioGroupMinimumHeight) {
  // The panes shrink in proportion, so the narrower one reaches the minimum first.
  const int panesWidth = kEditeur2Place.width() + kEditeurPlace.width();
  const int narrowerPane = std::min(kEditeur2Place.width(), kEditeurPlace.width());
  const int minimumPanesWidth = (kMinimumPaneWidth * panesWidth + narrowerPane - 1) / narrowerPane;
  const int spareWidth = panesWidth - minimumPanesWidth;
  const int spareHeight = std::max(0, kRadioGroup1Place.height() - radioGroupMinimumHeight);
  return (kClientSize - QSize(spareWidth, spareHeight)).boundedTo(kClientSize);
}

QSize FittedClientSize(QSize available, QSize chrome, QSize minimum) {
  return (available - chrome).boundedTo(kClientSize).expandedTo(minimum);
}

QPoint PlacedInside(QRect area, QSize outer) {
  const QPoint centred = area.topLeft() + QPoint((area.width() - outer.width()) / 2,
                                                 (area.height() - outer.height()) / 2);
  const int left = std::max(area.left(), std::min(centred.x(), area.right() + 1 - outer.width()));
  const int top = std::max(area.top(), std::min(centred.y(), area.bottom() + 1 - outer.height()));
  return {left, top};
}

}  // namespace tortuval::app
