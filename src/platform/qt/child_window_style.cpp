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
  if (control != QStyle::CC_MdiControls) return nullptr;
  // The menu bar's controls are drawn without their widget: they belong to
  // the maximised window of the frame's MDI area.
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (widget != nullptr && top != widget->window()) continue;
    for (QMdiArea* area : top->findChildren<QMdiArea*>()) {
      if (QMdiSubWindow* sub = area->currentSubWindow(); sub != nullptr && sub->isMaximized())
        return sub;
      for (QMdiSubWindow* sub : area->subWindowList())
        if (sub->isMaximized()) return sub;
    }
  }
  return nullptr;
}

// The close button's bit in a control's sub-controls.
QStyle::SubControl close_button(QStyle::ComplexControl control) {
  return control == QStyle::CC_TitleBar ? QStyle::SC_TitleBarCloseButton : QStyle::SC_MdiCloseButton;
}

class ChildWindowStyle : public QProxyStyle {
 public:
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override {
    if (!bound(owner_of(control, widget))) {
      QProxyStyle::drawComplexControl(control, option, painter, widget);
      return;
    }
    // Style options have no virtual destructor: copy the concrete type.
    if (auto* title = qstyleoption_cast<const QStyleOptionTitleBar*>(option)) {
      QStyleOptionTitleBar copy(*title);
      copy.subControls &= ~close_button(control);
      QProxyStyle::drawComplexControl(control, &copy, painter, widget);
      return;
    }
    QStyleOptionComplex copy(*option);
    copy.subControls &= ~close_button(control);
    QProxyStyle::drawComplexControl(control, &copy, painter, widget);
  }

  SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                   const QPoint& pos, const QWidget* widget) const override {
    SubControl hit = QProxyStyle::hitTestComplexControl(control, option, pos, widget);
    if (hit == close_button(control) && bound(owner_of(control, widget)))
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
