#include "ui/app/LongWork.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressBar>
#include <QTimer>
#include <QWindow>
#include <atomic>
#include <exception>
#include <thread>

#include "base/MlkError.h"
#include "base/Progress.h"
#include "db/Sqlite.h"
#include "model/TMainDM.h"
#include "ui/app/TWorkBox.h"

namespace mlk::ui {

namespace {

// The box comes only for work that lasts, or that waits for the database: quick work shows
// nothing.
constexpr qint64 kBoxDelayMs = 400;
constexpr int kRefreshMs = 50;

// What the two threads share: the work writes how far it got and whether it waits; the window
// reads that and may ask it to stop.
class WorkState final : public Progress, public ConnectionWatch {
  public:
    void SetRange(std::int64_t maximum) override {
        range_ = maximum;
        StopHere();
    }
    void SetPosition(std::int64_t position) override {
        position_ = position;
        StopHere();
    }
    bool StopRequested() override { return stop_; }
    void WaitingForLock(bool waiting) override { waiting_ = waiting; }

    void RequestStop() { stop_ = true; }
    bool Stopping() const { return stop_; }
    std::int64_t Range() const { return range_; }
    std::int64_t Position() const { return position_; }
    bool Waiting() const { return waiting_; }

    std::atomic<bool> done{false};
    std::exception_ptr error;

  private:
    // Unwinds the work like any failure, so that what it began is undone.
    void StopHere() const {
        if (stop_)
            throw MlkError("操作已取消。");
    }

    std::atomic<std::int64_t> range_{0};
    std::atomic<std::int64_t> position_{0};
    std::atomic<bool> stop_{false};
    std::atomic<bool> waiting_{false};
};

// Until the work ends, no input but the box's reaches the program, and no window closes.
class InputBlock final : public QObject {
  public:
    explicit InputBlock(const QWidget* box) : box_(box) { qApp->installEventFilter(this); }
    ~InputBlock() override { qApp->removeEventFilter(this); }

  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Shortcut:
            case QEvent::Wheel:
            case QEvent::Close:
                break;
            default:
                return false;
        }
        if (InBox(object))
            return false;
        event->ignore();
        return true;
    }

  private:
    // The box, or a window it opened (the guide, on F1). Input reaches a widget through its
    // window's handle first.
    bool InBox(const QObject* object) const {
        if (const auto* window = qobject_cast<const QWindow*>(object)) {
            for (; window; window = window->transientParent()) {
                if (window == box_->windowHandle())
                    return true;
            }
            return false;
        }
        for (const auto* widget = qobject_cast<const QWidget*>(object); widget;
             widget = widget->parentWidget()) {
            if (widget == box_)
                return true;
        }
        return false;
    }

    const QWidget* box_;
};

// The box stands over the window that does the work, or, for a window not shown yet (a summary
// made before it opens), over the window that opens it.
QWidget* BoxParent(QWidget* window) {
    while (window && !window->isVisible())
        window = window->parentWidget();
    return window;
}

}  // namespace

LongWork::LongWork(QWidget* window, QString what) : window_(window), what_(std::move(what)) {}

LongWork& LongWork::ShowingOn(QProgressBar* bar) {
    bar_ = bar;
    return *this;
}

bool LongWork::Run(TMainDM& dm, const std::function<void(TMainDM&, Progress&)>& work) {
    const std::filesystem::path database = dm.Db().Path();
    return Start([&](WorkState& state) {
        TMainDM own(database, &state);
        work(own, state);
    });
}

bool LongWork::Run(const std::function<void(Progress&)>& work) {
    return Start([&](WorkState& state) { work(state); });
}

template <class Body>
bool LongWork::Start(const Body& body) {
    WorkState state;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            body(state);
        } catch (...) {
            state.error = std::current_exception();
        }
        state.done = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    TWorkBox box(BoxParent(window_), what_);
    InputBlock block(&box);
    QObject::connect(&box, &TWorkBox::CancelRequested, &box, [&] { state.RequestStop(); });
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    QElapsedTimer since;
    since.start();
    QTimer refresh;
    QObject::connect(&refresh, &QTimer::timeout, &box, [&] {
        box.Report(state.Range(), state.Position(), state.Waiting());
        if (bar_ && state.Range() > 0) {
            bar_->setRange(0, 1000);
            bar_->setValue(int(std::min(state.Position(), state.Range()) * 1000 / state.Range()));
        }
        if (!box.isVisible() && !state.done && (state.Waiting() || since.elapsed() >= kBoxDelayMs))
            box.show();
    });
    refresh.start(kRefreshMs);
    // Another nested loop may end this one early: wait on until the work has ended.
    while (!state.done)
        loop.exec();
    worker.join();
    QGuiApplication::restoreOverrideCursor();

    // Work asked to stop that ended anyway ran to its end.
    const bool cancelled = state.error && state.Stopping();
    if (bar_ && cancelled)
        bar_->setValue(bar_->minimum());
    if (cancelled)
        return false;
    if (state.error)
        std::rethrow_exception(state.error);
    if (bar_)
        bar_->setValue(bar_->maximum());
    return true;
}

void Abandon(QDialog* window) {
    window->setProperty("mlkAbandoned", true);
}

bool Abandoned(const QDialog& window) {
    return window.property("mlkAbandoned").toBool();
}

}  // namespace mlk::ui
