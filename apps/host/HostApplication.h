#pragma once
// The host's application object. Every command of the module ends its own errors at its
// boundary; notify() is the last line of defence behind them: an exception that an event handler
// still lets out is shown once, through the module's message box, and the event loop goes on
// instead of the host ending.

#include <QApplication>

namespace si {
class ComponentRegistry;
}

namespace si::host {

class HostApplication : public QApplication {
public:
    HostApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
    // The registry whose message box shows the error; without one it goes to standard error.
    void setComponents(const ComponentRegistry* components) { components_ = components; }

private:
    void report(const QString& text) const;

    const ComponentRegistry* components_ = nullptr;
};

}  // namespace si::host
