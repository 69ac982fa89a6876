#include "ui/secondarywindow.h"

#include <QCloseEvent>

#include "app/settings/settings.h"
#include "ui/widgets.h"

namespace skyrel {

SecondaryWindow::SecondaryWindow(SettingsStore& store, int formNumber, const QString& caption, QSize clientSize,
                                 bool maximise)
    : QWidget(nullptr, FixedWindowFlags(maximise)), store_(store), formNumber_(formNumber) {
    setWindowTitle(caption);
    setFont(WindowFont());
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFixedSize(clientSize);
    const QPoint stored = LoadWindowPosition(store_, formNumber_);
    move(IsTitleBarReachable(stored, width()) ? stored : kDefaultWindowPosition);
}

void SecondaryWindow::closeEvent(QCloseEvent* event) {
    if (IsInNormalState(*this)) SaveWindowPosition(store_, formNumber_, pos());
    event->accept();
}

void SecondaryWindow::refreshEachSecondInSight(std::function<void()> refresh) {
    refresh_ = std::move(refresh);
    refreshTimer_.setInterval(1000);
    connect(&refreshTimer_, &QTimer::timeout, this, [this] { refresh_(); });
}

void SecondaryWindow::showEvent(QShowEvent* event) {
    if (refresh_ && !refreshTimer_.isActive()) {
        refresh_();
        refreshTimer_.start();
    }
    QWidget::showEvent(event);
}

void SecondaryWindow::hideEvent(QHideEvent* event) {
    // Also the window system's hide event of a minimised window.
    refreshTimer_.stop();
    QWidget::hideEvent(event);
}

}  // namespace skyrel
