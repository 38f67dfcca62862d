#pragma once
// The continue-watching tab's list: the films and episodes with a kept place, newest first,
// each with its poster and how far it got ("34:10 of 1:52:10"). Enter or a double-click
// goes on where it stopped; Delete forgets it.

#include "FilmPlace.h"
#include "LanguageStrings.h"

#include <QObject>

#include <vector>

class FilmPlaces;
class LogoCache;
class QTreeWidget;

class ContinueList : public QObject
{
    Q_OBJECT
public:
    ContinueList(QWidget* window, const LanguageStrings& texts, FilmPlaces& places);

    QTreeWidget* Widget() const { return list; }
    void ShowLogos(LogoCache& logos);

    // The places again; false when none is left to continue.
    bool Refill();
    bool IsEmpty() const { return shown.empty(); }
    // The selected film, nothing when none is.
    const FilmPlace* Selected() const;
    void ForgetSelected();
    QString DescriptionOf(const FilmPlace& place) const;

signals:
    void SelectionChanged();
    void Chosen(const ChannelRequest& request);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const LanguageStrings& texts;
    FilmPlaces& places;
    std::vector<FilmPlace> shown;
    QTreeWidget* list;
};
