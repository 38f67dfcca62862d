#include "CLanguageDlg.h"

#include "LanguagePack.h"
#include "LanguageStrings.h"

#include <QDir>
#include <QHeaderView>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QTreeWidget>

namespace {
const DialogControl kTemplate[] = {
    {IDC_LANGUAGE_PROMPT, ControlKind::Static, {6, 3, 150, 12}, "Select language:"},
    {IDC_LANGUAGE_LIST, ControlKind::ListView, {6, 17, 150, 135}, nullptr},
    {IDOK, ControlKind::DefaultButton, {54, 156, 48, 16}, "OK"},
    {IDCANCEL, ControlKind::Button, {108, 156, 48, 16}, "Cancel"},
};

constexpr int kFlagSize = 16;
constexpr int kColumnWidth = 200;
constexpr int kFolderRole = Qt::UserRole; // the folder an item names

// Sorted by name without regard to letter case, as the list always has been.
class LanguageItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem& other) const override
    {
        const QString a = text(0);
        const QString b = other.text(0);
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    }
};

// Shown for a language whose flag is missing or unreadable.
QPixmap PlaceholderFlag()
{
    QPixmap flag(kFlagSize, kFlagSize);
    flag.fill(Qt::transparent);
    QPainter painter(&flag);
    painter.setPen(QColor(128, 128, 128));
    painter.setBrush(QColor(224, 224, 224));
    painter.drawRect(0, 2, kFlagSize - 1, kFlagSize - 5);
    return flag;
}

// The 16 x 16 image of the icon file, or the nearest larger one scaled down.
QPixmap LoadFlag(const QString& path)
{
    QImageReader reader(path);
    QImage best;
    do {
        const QImage image = reader.read();
        if (image.isNull())
            break;
        if (best.isNull() || image.width() == kFlagSize
            || (best.width() < kFlagSize && image.width() > best.width()))
            best = image;
        if (best.width() == kFlagSize)
            break;
    } while (reader.jumpToNextImage());
    if (best.isNull())
        return PlaceholderFlag();
    return QPixmap::fromImage(
        best.scaled(kFlagSize, kFlagSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}
} // namespace

CLanguageDlg::CLanguageDlg(QWidget* parent, const LanguageStrings& strings, const QString& language)
    : CDialog(parent, {160, 177}, kTemplate), strings(strings), language(language)
{
    GetDlgItem(IDOK)->setEnabled(false);

    QTreeWidget* list = List();
    list->setHeaderHidden(true);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setIconSize(QSize(kFlagSize, kFlagSize));
    list->setColumnCount(1);
    list->header()->setStretchLastSection(false);
    list->setColumnWidth(0, kColumnWidth);
    list->setSortingEnabled(true);
    list->sortByColumn(0, Qt::AscendingOrder);
    connect(list, &QTreeWidget::itemSelectionChanged, this, &CLanguageDlg::OnSelectionChanged);
}

QTreeWidget* CLanguageDlg::List() const
{
    return static_cast<QTreeWidget*>(GetDlgItem(IDC_LANGUAGE_LIST));
}

void CLanguageDlg::OnInitDialog()
{
    setWindowTitle(strings.Text(LanguagesDialog, 0));
    SetDlgItemText(IDC_LANGUAGE_PROMPT, strings.Text(LanguagesDialog, 1));
    SetDlgItemText(IDOK, strings.Text(LanguagesDialog, 2));
    SetDlgItemText(IDCANCEL, strings.Text(LanguagesDialog, 3));
    FillList();
}

// Each language in its own words (the folder's name for a pack that has none), the current
// one selected.
void CLanguageDlg::FillList()
{
    const QDir folder(QStringLiteral("Languages"));
    const QStringList names = folder.entryList(
        QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QString& name : names) {
        const QString ownName = LanguageOwnName(name);
        auto* item = new LanguageItem(QStringList{ownName.isEmpty() ? name : ownName});
        item->setData(0, kFolderRole, name);
        item->setIcon(0, LoadFlag(folder.filePath(name + QStringLiteral("/Flag.ico"))));
        List()->addTopLevelItem(item);
        if (name == language) {
            List()->setCurrentItem(item);
            List()->scrollToItem(item);
        }
    }
}

void CLanguageDlg::OnSelectionChanged()
{
    GetDlgItem(IDOK)->setEnabled(!List()->selectedItems().isEmpty());
}

void CLanguageDlg::OnOK()
{
    // The selection mark: the item the user clicked or moved to last.
    const QTreeWidgetItem* mark = List()->currentItem();
    if (!mark) {
        const QList<QTreeWidgetItem*> selected = List()->selectedItems();
        if (selected.isEmpty())
            return;
        mark = selected.first();
    }
    language = mark->data(0, kFolderRole).toString();
    EndDialog(IDOK);
}
