#include "CAddPlaylistDlg.h"

#include "GuideTexts.h"
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

const QString kPlaylistPatterns = QStringLiteral(" (*.m3u *.m3u8);;* (*)");
const QString kGuidePatterns = QStringLiteral(" (*.xml *.xml.gz *.gz *.xmltv);;* (*)");
} // namespace

CAddPlaylistDlg::CAddPlaylistDlg(QWidget* parent, const LanguageStrings& strings, const QString& folder, Kind kind)
    : CDialog(parent, {218, 100}, kTemplate), strings(strings), kind(kind), folder(folder)
{
}

const QString& CAddPlaylistDlg::Text(int playlistEntry, int guideEntry) const
{
    return kind == Kind::Guide ? strings.Text(Guide, guideEntry) : strings.Text(Playlists, playlistEntry);
}

void CAddPlaylistDlg::OnInitDialog()
{
    setWindowTitle(Text(PlaylistAddCaption, GuideAddCaption));
    SetDlgItemText(IDC_PLAYLIST_FILE_LABEL, Text(PlaylistFileLabel, GuideFileLabel));
    SetDlgItemText(IDC_PLAYLIST_BROWSE, strings.Text(Playlists, PlaylistBrowse));
    SetDlgItemText(IDC_PLAYLIST_ADDRESS_LABEL, Text(PlaylistAddressLabel, GuideAddressLabel));
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
    const QString file =
        QFileDialog::getOpenFileName(this, Text(PlaylistAddCaption, GuideAddCaption), folder,
                                     Text(PlaylistFileFilter, GuideFileFilter) +
                                         (kind == Kind::Guide ? kGuidePatterns : kPlaylistPatterns));
    if (file.isEmpty())
        return;
    SetDlgItemText(IDC_PLAYLIST_FILE, file);
    folder = QFileInfo(file).absolutePath();
}
