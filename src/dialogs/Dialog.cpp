#include "Dialog.h"

#include <QAbstractButton>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>

CDialog::CDialog(QWidget* parent, QSize clientSizeDu, std::span<const DialogControl> controls)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      units(font())
{
    setWindowTitle(QStringLiteral("Dialog"));
    setFixedSize(units.ToPixels(clientSizeDu));
    for (const DialogControl& control : controls)
        items.push_back({control.id, CreateControl(control)});
}

QWidget* CDialog::CreateControl(const DialogControl& control)
{
    const QString text = QString::fromUtf8(control.text ? control.text : "");
    const QRect rect = units.ToPixels(control.rect);
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::Static:
    case ControlKind::StaticWrap: {
        auto* label = new QLabel(text, this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(control.kind == ControlKind::StaticWrap);
        widget = label;
        break;
    }
    case ControlKind::Icon: {
        auto* label = new QLabel(this);
        const QPixmap picture(text);
        label->setPixmap(picture);
        label->setGeometry(QRect(rect.topLeft(), picture.size()));
        widget = label;
        break;
    }
    case ControlKind::Button:
    case ControlKind::DefaultButton: {
        auto* button = new QPushButton(text, this);
        button->setDefault(control.kind == ControlKind::DefaultButton);
        button->setAutoDefault(false);
        const int id = control.id;
        connect(button, &QAbstractButton::clicked, this, [this, id] {
            if (id == IDOK)
                accept();
            else if (id == IDCANCEL)
                reject();
            else
                OnCommand(id);
        });
        widget = button;
        break;
    }
    case ControlKind::ListView:
        widget = new QTreeWidget(this);
        break;
    case ControlKind::Edit:
        widget = new QLineEdit(text, this);
        break;
    case ControlKind::EtchedLine: {
        auto* line = new QFrame(this);
        line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
        widget = line;
        break;
    }
    }
    // Statics pass the mouse through to the dialog, which does its own hit-testing.
    if (control.kind == ControlKind::Static || control.kind == ControlKind::StaticWrap
        || control.kind == ControlKind::Icon || control.kind == ControlKind::EtchedLine)
        widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (control.kind != ControlKind::Icon)
        widget->setGeometry(rect);
    return widget;
}

int CDialog::DoModal()
{
    return exec();
}

QWidget* CDialog::GetDlgItem(int id) const
{
    for (const Item& item : items) {
        if (item.id == id)
            return item.widget;
    }
    return nullptr;
}

QString CDialog::GetDlgItemText(int id) const
{
    QWidget* widget = GetDlgItem(id);
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    return QString();
}

void CDialog::SetDlgItemText(int id, const QString& text)
{
    QWidget* widget = GetDlgItem(id);
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
}

void CDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (initialised)
        return;
    initialised = true;
    OnInitDialog();
}
