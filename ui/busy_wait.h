#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace dalvero {

// How a window waits while another program holds the file it is to write:
// it goes on repainting, shows a busy cursor and what it waits for, and
// takes no input, so that no other handler runs before the one waiting has
// ended. Cursor and text are back as they were when it goes.
class BusyWait {
public:
    // `show` puts a text where the user looks for what happens next.
    BusyWait(std::function<void(const QString&)> show, QString shownBefore);
    ~BusyWait();
    BusyWait(const BusyWait&) = delete;
    BusyWait& operator=(const BusyWait&) = delete;

    void operator()(int ms);

private:
    std::function<void(const QString&)> m_show;
    QString m_shownBefore;
    bool m_waiting = false;
};

} // namespace dalvero
