#include "CShortcutsDlg.h"

#include "ActionTable.h"
#include "GuideTexts.h"
#include "LanguageStrings.h"
#include "PreferencesTexts.h"

#include <QHeaderView>
#include <QKeySequence>
#include <QTreeWidget>

#include <algorithm>
#include <vector>

namespace {
const DialogControl kTemplate[] = {
    {IDC_SHORTCUT_LIST, ControlKind::ListView, {6, 6, 268, 214}, nullptr},
    {IDOK, ControlKind::DefaultButton, {226, 226, 48, 16}, "OK"},
};

constexpr int kKeyColumnDu = 110;
const QString kKeySeparator = QStringLiteral(", ");
const QString kDigits = QStringLiteral("0\u20139");

// The keys of a command where it works, in the table's order.
struct KeyRow
{
    int command;
    QStringList keys;
};

std::vector<KeyRow> RowsOf(unsigned place)
{
    std::vector<KeyRow> rows;
    for (const KeyBinding& binding : KeyBindings()) {
        if ((binding.places & place) == 0)
            continue;
        const QString key = QKeySequence(binding.key).toString(QKeySequence::NativeText);
        auto row = std::find_if(rows.begin(), rows.end(), [&](const KeyRow& r) { return r.command == binding.command; });
        if (row == rows.end())
            rows.push_back({binding.command, {key}});
        else if (!row->keys.contains(key))
            row->keys.append(key);
    }
    return rows;
}
} // namespace

CShortcutsDlg::CShortcutsDlg(QWidget* parent, const LanguageStrings& strings)
    : CDialog(parent, {280, 248}, kTemplate), strings(strings)
{
    QTreeWidget* list = List();
    list->setColumnCount(2);
    list->setRootIsDecorated(false);
    list->header()->setSectionsMovable(false);
    list->setColumnWidth(0, Units().X(kKeyColumnDu));
}

QTreeWidget* CShortcutsDlg::List() const
{
    return static_cast<QTreeWidget*>(GetDlgItem(IDC_SHORTCUT_LIST));
}

void CShortcutsDlg::OnInitDialog()
{
    setWindowTitle(strings.Text(Preferences, PrefShortcutsMenu));
    SetDlgItemText(IDOK, strings.Text(Preferences, PrefOK));
    List()->setHeaderLabels({strings.Text(Preferences, PrefColumnKey), strings.Text(Preferences, PrefColumnAction)});
    FillPlace(OnWindow, strings.Text(Preferences, PrefPlaceWindow), true);
    FillPlace(OnPicture, strings.Text(Preferences, PrefPlacePicture), true);
    FillPlace(InChannelWindow, strings.Text(Preferences, PrefPlaceChannels), false);
    FillPlace(InGuideWindow, strings.Text(Guide, GuideCaption), false); // the window's own title names it
}

void CShortcutsDlg::FillPlace(unsigned place, const QString& title, bool digits)
{
    auto* heading = new QTreeWidgetItem(List(), {title});
    heading->setFirstColumnSpanned(true);
    QFont bold = heading->font(0);
    bold.setBold(true);
    heading->setFont(0, bold);
    if (digits) // typed over the picture, they are no binding of the table
        new QTreeWidgetItem(heading, {kDigits, strings.Text(Preferences, PrefDigits)});
    for (const KeyRow& row : RowsOf(place))
        new QTreeWidgetItem(heading, {row.keys.join(kKeySeparator), CommandName(strings, row.command)});
    heading->setExpanded(true);
}
