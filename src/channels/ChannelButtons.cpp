#include "ChannelButtons.h"

#include "ChannelIcons.h"
#include "CommandId.h"

#include <QToolButton>

#include <algorithm>

namespace {
constexpr QSize kToolbarCreateSize(32, 32);
constexpr int kToolbarHeight = 30;
constexpr QSize kToolIcon(24, 24);
constexpr int kFavoritesButtonCount = 4;

// ChannelsDialog entries.
constexpr int kPlayText = 3;
constexpr int kPlayTip = 4;
constexpr int kFirstFavoritesTip = 5;

// Program icons.
constexpr int kPlayIcon = 131;
constexpr int kFirstFavoritesIcon = 132;

// Like the platform's MoveWindow, a size below zero counts as zero.
void moveWindow(QWidget* window, int x, int y, int width, int height)
{
    window->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
}
} // namespace

ChannelButtons::ChannelButtons(QWidget* window, const LanguageStrings& texts)
    : QObject(window), window(window), texts(texts)
{
}

void ChannelButtons::Create()
{
    CreatePlayBar(true);
    favoritesBar = new QWidget(window);
    favoritesBar->setObjectName(QStringLiteral("favoritesBar"));
    favoritesBar->setGeometry(QRect(QPoint(0, 0), kToolbarCreateSize));
    favoritesBar->hide();
    int buttonWidth = 0;
    for (int k = 0; k < kFavoritesButtonCount; ++k) {
        QToolButton* button = CreateButton(favoritesBar, ID_FAVORITES_ADD + k);
        button->setIcon(LoadWindowIcon(kFirstFavoritesIcon + k));
        button->resize(button->sizeHint().boundedTo(QSize(QWIDGETSIZE_MAX, kToolbarHeight)));
        if (k == 0)
            buttonWidth = button->width();
        button->move(k * buttonWidth, 0);
        button->setToolTip(Text(kFirstFavoritesTip + k));
    }
    favoritesBarWidth = kFavoritesButtonCount * buttonWidth;
}

void ChannelButtons::CreatePlayBar(bool visible)
{
    playBar = new QWidget(window);
    playBar->setObjectName(QStringLiteral("playBar"));
    playBar->setGeometry(QRect(QPoint(0, 0), kToolbarCreateSize));
    playBar->setVisible(visible);
    const QString& text = Text(kPlayText);
    QToolButton* button = CreateButton(playBar, ID_CHANNEL_PLAY);
    button->setIcon(LoadWindowIcon(kPlayIcon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setText(text);
    button->resize(button->sizeHint().boundedTo(QSize(QWIDGETSIZE_MAX, kToolbarHeight)));
    button->setToolTip(Text(kPlayTip));
    playButtonWidth = button->width();
}

QToolButton* ChannelButtons::CreateButton(QWidget* bar, int command)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QStringLiteral("button%1").arg(command));
    button->setAutoRaise(true);
    // Reached with Tab; a click leaves the focus on the list it acts on.
    button->setFocusPolicy(Qt::TabFocus);
    button->setIconSize(kToolIcon);
    button->setEnabled(false);
    connect(button, &QToolButton::clicked, this, [this, command] { emit Pressed(command); });
    buttons[static_cast<std::size_t>(command - ID_CHANNEL_PLAY)] = button;
    return button;
}

void ChannelButtons::ApplyLanguage()
{
    delete playBar;
    playBar = nullptr;
    buttons[0] = nullptr;
    CreatePlayBar(false);
    for (int k = 0; k < kFavoritesButtonCount; ++k) {
        if (QToolButton* button = buttons[static_cast<std::size_t>(1 + k)])
            button->setToolTip(Text(kFirstFavoritesTip + k));
    }
    Layout(window->width(), window->height());
    playBar->show();
}

void ChannelButtons::Layout(int cx, int cy)
{
    if (playBar != nullptr)
        moveWindow(playBar, cx - playButtonWidth - 2, cy - 32, playButtonWidth + 2, kToolbarHeight);
    if (favoritesBar != nullptr)
        moveWindow(favoritesBar, cx - playButtonWidth - favoritesBarWidth - 2, cy - 32, favoritesBarWidth,
                   kToolbarHeight);
}

void ChannelButtons::ShowFavoritesBar(bool shown)
{
    if (favoritesBar != nullptr)
        favoritesBar->setVisible(shown);
}

void ChannelButtons::Enable(int command, bool enable)
{
    if (QToolButton* button = buttons[static_cast<std::size_t>(command - ID_CHANNEL_PLAY)])
        button->setEnabled(enable);
}

std::array<QWidget*, 5> ChannelButtons::TabOrder() const
{
    return {buttons[1], buttons[2], buttons[3], buttons[4], buttons[0]};
}

void ChannelButtons::NameForAssistiveTechnology()
{
    for (QToolButton* button : buttons) {
        if (button != nullptr && button->text().isEmpty())
            button->setAccessibleName(button->toolTip());
    }
}

const QString& ChannelButtons::Text(int index) const
{
    return texts.Text(ChannelsDialog, index);
}
