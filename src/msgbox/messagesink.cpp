#include "msgbox/messagesink.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace vk {

MessageSink plainMessageBox()
{
    return [](const QString &text) {
        QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text, QMessageBox::Ok);
        box.exec();
    };
}

} // namespace vk
