#include "MessageBox.h"

#include <QMessageBox>

#include <utility>

namespace {
MessageBoxHook& hook()
{
    static MessageBoxHook instance;
    return instance;
}

QMessageBox::Icon iconFor(unsigned style)
{
    switch (style & MB_ICONMASK) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}
} // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook newHook)
{
    return std::exchange(hook(), std::move(newHook));
}

int MessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned style)
{
    if (hook())
        return hook()(owner, text, caption, style);
    const bool yesNo = (style & MB_TYPEMASK) == MB_YESNO;
    QMessageBox box(iconFor(style), caption, text, yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText); // texts carry file and language names, never markup
    if (yesNo)
        box.setDefaultButton(QMessageBox::No); // Enter never removes anything by accident
    const int answer = box.exec();
    if (yesNo)
        return answer == QMessageBox::Yes ? IDYES : IDNO;
    return IDOK;
}
