#include "BackgroundTray.h"

#include "RecordingsTexts.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>

namespace {
constexpr int kShow = 1;
constexpr int kQuit = 0;
} // namespace

BackgroundTray::BackgroundTray(const LanguageStrings& texts, QWidget& window) : texts(texts), window(window)
{
}

BackgroundTray::~BackgroundTray() = default;

BackgroundTray::Choice BackgroundTray::Ask()
{
    const QString caption = texts.Text(Recordings, RecWindowCaption);
    QMessageBox box(QMessageBox::Question, caption, QString(), QMessageBox::NoButton, &window);
    box.setTextFormat(Qt::PlainText);
    QPushButton* keep = nullptr;
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        box.setText(texts.Text(Recordings, RecKeepQuestion));
        keep = box.addButton(QMessageBox::Yes);
    } else {
        box.setText(texts.Text(Recordings, RecNoTray));
    }
    QPushButton* quit = box.addButton(texts.Text(Recordings, RecQuit), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(keep != nullptr ? keep : cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (keep != nullptr && box.clickedButton() == keep)
        return Choice::Background;
    return box.clickedButton() == quit ? Choice::Quit : Choice::Cancel;
}

bool BackgroundTray::Wait()
{
    if (!tray) {
        tray = std::make_unique<QSystemTrayIcon>(QApplication::windowIcon());
        auto* menu = new QMenu(&window);
        connect(menu->addAction(texts.Text(Recordings, RecShow)), &QAction::triggered, this, [this] { loop.exit(kShow); });
        connect(menu->addAction(texts.Text(Recordings, RecQuit)), &QAction::triggered, this, [this] { loop.exit(kQuit); });
        tray->setContextMenu(menu);
        connect(tray.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                loop.exit(kShow);
        });
    }
    tray->setToolTip(texts.Text(Recordings, RecTrayTip));
    tray->show();
    const bool show = loop.exec() == kShow;
    tray->hide();
    return show;
}
