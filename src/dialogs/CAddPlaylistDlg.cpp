#include "CAddPlaylistDlg.h"

#include "LanguageStrings.h"
#include "PlaylistTexts.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {
const DialogControl kTemplate[] = {
    {IDC_PLAYLIST_FILE_LABEL, ControlKind::Static, {7, 7, 150, 8}, ""},
    {IDC_PLAYLIST_FILE, ControlKind::Edit, {7, 17, 150, 14}, ""},
    {IDC_PLAYLIST_BROWSE, ControlKind::Button, {161, 16, 50, 16}, ""},
    {IDC_PLAYLIST_ADDRESS_LABEL, ControlKind::Static, {7, 38, 204, 8}, ""},
    {IDC_PLAYLIST_ADDRESS, ControlKind::Edit, {7, 48, 204, 14}, ""},
    {IDC_STATIC, ControlKind::EtchedLine, {-5, 70, 230, 1}, nullptr},
    {IDOK, ControlKind::DefaultButton, {107, 77, 50, 16}, ""},
    {IDCANCEL, ControlKind::Button, {161, 77, 50, 16}, ""},
};

const QString kPatterns = QStringLiteral(" (*.m3u *.m3u8);;* (*)");
} // namespace

CAddPlaylistDlg::CAddPlaylistDlg(QWidget* parent, const LanguageStrings& strings, const QString& folder)
    : CDialog(parent, {218, 100}, kTemplate), strings(strings), folder(folder)
{
}

void CAddPlaylistDlg::OnInitDialog()
{
    setWindowTitle(strings.Text(Playlists, PlaylistAddCaption));
    SetDlgItemText(IDC_PLAYLIST_FILE_LABEL, strings.Text(Playlists, PlaylistFileLabel));
    SetDlgItemText(IDC_PLAYLIST_BROWSE, strings.Text(Playlists, PlaylistBrowse));
    SetDlgItemText(IDC_PLAYLIST_ADDRESS_LABEL, strings.Text(Playlists, PlaylistAddressLabel));
    SetDlgItemText(IDOK, strings.Text(Playlists, PlaylistOk));
    SetDlgItemText(IDCANCEL, strings.Text(Playlists, PlaylistCancel));
}

void CAddPlaylistDlg::OnOK()
{
    const QString file = GetDlgItemText(IDC_PLAYLIST_FILE).trimmed();
    source = file.isEmpty() ? GetDlgItemText(IDC_PLAYLIST_ADDRESS).trimmed() : file;
    if (!source.isEmpty())
        EndDialog(IDOK); // with nothing given, OK does nothing, as the dialog still asks
}

void CAddPlaylistDlg::OnCommand(int id)
{
    if (id != IDC_PLAYLIST_BROWSE)
        return;
    const QString file = QFileDialog::getOpenFileName(this, strings.Text(Playlists, PlaylistAddCaption), folder,
                                                      strings.Text(Playlists, PlaylistFileFilter) + kPatterns);
    if (file.isEmpty())
        return;
    SetDlgItemText(IDC_PLAYLIST_FILE, file);
    folder = QFileInfo(file).absolutePath();
}
