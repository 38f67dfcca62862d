#pragma once
// Asks for a playlist or a programme guide to add: a local file (typed or chosen) or the
// address of one.

#include "Dialog.h"

struct LanguageStrings;

constexpr int IDC_PLAYLIST_FILE_LABEL = 1101;
constexpr int IDC_PLAYLIST_FILE = 1102;
constexpr int IDC_PLAYLIST_BROWSE = 1103;
constexpr int IDC_PLAYLIST_ADDRESS_LABEL = 1104;
constexpr int IDC_PLAYLIST_ADDRESS = 1105;

class CAddPlaylistDlg : public CDialog
{
    Q_OBJECT
public:
    enum class Kind { Playlist, Guide };

    // Browse opens in folder.
    CAddPlaylistDlg(QWidget* parent, const LanguageStrings& strings, const QString& folder, Kind kind = Kind::Playlist);

    // What was given after OK: the file when one was given, else the address.
    QString Source() const { return source; }
    // Where Browse last found a file, else the folder it was given.
    QString Folder() const { return folder; }

protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnCommand(int id) override;

private:
    // The texts and file patterns of the kind asked for.
    const QString& Text(int playlistEntry, int guideEntry) const;

    const LanguageStrings& strings;
    Kind kind;
    QString source;
    QString folder;
};
