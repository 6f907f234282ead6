#include "platform/qt/child_window_style.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProxyStyle>
#include <QStyleOptionComplex>

namespace qtl {

namespace {

constexpr char kBound[] = "veltra_bound";

bool bound(const QWidget* w) { return w != nullptr && w->property(kBound).toBool(); }

// The sub-window whose controls `widget` draws: the title bar's own window,
// or, for the controls in the menu bar, the maximised current window.
const QWidget* owner_of(QStyle::ComplexControl control, const QWidget* widget) {
  if (control == QStyle::CC_TitleBar) return widget;
  if (control != QStyle::CC_MdiControls || widget == nullptr) return nullptr;
  for (QWidget* top : QApplication::topLevelWidgets())
    for (QMdiArea* area : top->findChildren<QMdiArea*>())
      if (QMdiSubWindow* sub = area->currentSubWindow(); sub != nullptr && sub->isMaximized())
        if (widget->window() == area->window()) return sub;
  return nullptr;
}

class ChildWindowStyle : public QProxyStyle {
 public:
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override {
    if (!bound(owner_of(control, widget))) {
      QProxyStyle::drawComplexControl(control, option, painter, widget);
      return;
    }
    std::unique_ptr<QStyleOptionComplex> copy;
    if (auto* title = qstyleoption_cast<const QStyleOptionTitleBar*>(option))
      copy = std::make_unique<QStyleOptionTitleBar>(*title);
    else
      copy = std::make_unique<QStyleOptionComplex>(*option);
    copy->subControls &= ~(SC_TitleBarCloseButton | SC_MdiCloseButton);
    QProxyStyle::drawComplexControl(control, copy.get(), painter, widget);
  }

  SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                   const QPoint& pos, const QWidget* widget) const override {
    SubControl hit = QProxyStyle::hitTestComplexControl(control, option, pos, widget);
    if ((hit == SC_TitleBarCloseButton || hit == SC_MdiCloseButton) && bound(owner_of(control, widget)))
      return SC_None;
    return hit;
  }
};

}  // namespace

void install_child_window_style() { QApplication::setStyle(new ChildWindowStyle); }

void set_closable(QWidget* sub_window, bool closable) {
  sub_window->setProperty(kBound, !closable);
  sub_window->update();
  if (QWidget* top = sub_window->window()) top->update();
}

}  // namespace qtl
