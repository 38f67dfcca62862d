#pragma once
// Asks for a playlist to add: a local file (typed or chosen) or the address of one.

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
    // Browse opens in folder.
    CAddPlaylistDlg(QWidget* parent, const LanguageStrings& strings, const QString& folder);

    // What was given after OK: the file when one was given, else the address.
    QString Source() const { return source; }
    // Where Browse last found a file, else the folder it was given.
    QString Folder() const { return folder; }

protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnCommand(int id) override;

private:
    const LanguageStrings& strings;
    QString source;
    QString folder;
};
