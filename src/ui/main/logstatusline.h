#pragma once

#include <QLabel>

namespace vk {

// One small line on the start screen, under the settings panel, that says
// what the training log is doing: in the start screen's navy while all is
// well, in its red when the log is off or stages wait for it. It follows
// its window's size by itself. Only a run that keeps a log has one.
class LogStatusLine : public QLabel
{
    Q_OBJECT
public:
    explicit LogStatusLine(QWidget &window);

    void show(const QString &text, bool problem);

    static constexpr const char *kObjectName = "logStatusLine";

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();
};

} // namespace vk
