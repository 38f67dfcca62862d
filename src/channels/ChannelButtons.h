#pragma once
// The channel window's tool buttons: Play on its own bar, and the favourites' bar (add,
// remove, up, down) beside it while the favourites tab shows. Each button carries its
// command; a press is told by Pressed.

#include "LanguageStrings.h"

#include <QObject>

#include <array>

class QToolButton;
class QWidget;

class ChannelButtons : public QObject
{
    Q_OBJECT
public:
    ChannelButtons(QWidget* window, const LanguageStrings& texts);

    // Makes both bars in the current texts, disabled, the favourites' one hidden.
    void Create();
    // The Play button again, disabled, in the texts now loaded; the tips too.
    void ApplyLanguage();
    // In the window's bottom right corner.
    void Layout(int cx, int cy);
    void ShowFavoritesBar(bool shown);
    void Enable(int command, bool enable);
    // The buttons from the left, the Play button last, as Tab reaches them.
    std::array<QWidget*, 5> TabOrder() const;
    // Buttons showing no text are named by their tips.
    void NameForAssistiveTechnology();

signals:
    void Pressed(int command);

private:
    void CreatePlayBar(bool visible);
    QToolButton* CreateButton(QWidget* bar, int command);
    const QString& Text(int index) const;

    QWidget* window;
    const LanguageStrings& texts;
    QWidget* playBar = nullptr;
    QWidget* favoritesBar = nullptr;
    std::array<QToolButton*, 5> buttons{}; // commands 125..129
    int playButtonWidth = 0;
    int favoritesBarWidth = 0;
};
