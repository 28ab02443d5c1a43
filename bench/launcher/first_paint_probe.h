// Shared by the start-up probes: reports on standard output when the window's first frame has
// been painted ("painted") and when the program has settled ("settled"). The benchmark measures
// the memory of the settled program and then ends it.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

class FirstPaintProbe : public QObject {
 public:
  // SettleOnPaint: the program has nothing to wait for beyond its first frame.
  FirstPaintProbe(QWidget* Window, bool SettleOnPaint) : FWindow(Window), FSettleOnPaint(SettleOnPaint) {
    // Children that cover the window are painted instead of it, so watch every widget.
    qApp->installEventFilter(this);
  }

  // Called once whatever else the program waits for has happened.
  static void Settle() {
    std::printf("settled\n");
    std::fflush(stdout);
  }

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    const auto* widget = qobject_cast<QWidget*>(Watched);
    if (Event->type() == QEvent::Paint && !FPainted && widget && widget->window() == FWindow) {
      FPainted = true;
      // Queued: the line goes out once the paint event, and so the frame, is done.
      QTimer::singleShot(0, [this] {
        std::printf("painted\n");
        std::fflush(stdout);
        if (FSettleOnPaint) Settle();
      });
    }
    return QObject::eventFilter(Watched, Event);
  }

 private:
  const QWidget* const FWindow;
  const bool FSettleOnPaint;
  bool FPainted = false;
};
