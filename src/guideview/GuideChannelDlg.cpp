#include "GuideChannelDlg.h"

#include "GuideTexts.h"
#include "PlaylistTexts.h"
#include "TextFold.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr QSize kSize(420, 480);
constexpr int kAutomaticRow = 0;
const QString kSeparator = QStringLiteral("  \u00b7  ");
} // namespace

GuideChannelDlg::GuideChannelDlg(QWidget* parent, const LanguageStrings& texts, const QString& channelName,
                                 std::vector<GuideChannelInfo> guideChannels,
                                 const std::map<QString, QString>& guideNames,
                                 const std::optional<GuideChoice>& current)
    : QDialog(parent), channels(std::move(guideChannels))
{
    setWindowTitle(texts.Text(Guide, GuideChooseCaption).arg(channelName));
    resize(kSize);
    filter = new QLineEdit(this);
    filter->setObjectName(QStringLiteral("guideChannelFilter"));
    filter->setPlaceholderText(texts.Text(Guide, GuideChooseFilter));
    filter->setClearButtonEnabled(true);
    filter->installEventFilter(this);
    list = new QListWidget(this);
    list->setObjectName(QStringLiteral("guideChannels"));
    list->setUniformItemSizes(true);
    list->addItem(texts.Text(Guide, GuideAutomatic));
    list->setCurrentRow(kAutomaticRow);
    folded.reserve(channels.size());
    for (const GuideChannelInfo& channel : channels) {
        const auto guide = guideNames.find(channel.source);
        QStringList parts{channel.names.value(0, channel.id), channel.id};
        if (guide != guideNames.end())
            parts.append(guide->second);
        list->addItem(parts.join(kSeparator));
        folded.push_back(FoldText(channel.names.join(QLatin1Char(' ')) + QLatin1Char(' ') + channel.id));
        if (current && current->source == channel.source && current->id == channel.id)
            list->setCurrentRow(list->count() - 1);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(texts.Text(Playlists, PlaylistOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(texts.Text(Playlists, PlaylistCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(filter, &QLineEdit::textChanged, this, &GuideChannelDlg::Filter);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter);
    layout->addWidget(list);
    layout->addWidget(buttons);
    list->scrollToItem(list->currentItem());
    filter->setFocus();
}

void GuideChannelDlg::Filter(const QString& text)
{
    const QString needle = FoldText(text.trimmed());
    QListWidgetItem* first = nullptr;
    for (int row = 1; row < list->count(); ++row) {
        const bool shown = needle.isEmpty() || folded[static_cast<std::size_t>(row - 1)].contains(needle);
        list->setRowHidden(row, !shown);
        if (shown && first == nullptr)
            first = list->item(row);
    }
    if (QListWidgetItem* current = list->currentItem(); current == nullptr || current->isHidden())
        list->setCurrentItem(first != nullptr && !needle.isEmpty() ? first : list->item(kAutomaticRow));
}

GuideChoice GuideChannelDlg::Choice() const
{
    const int row = list->currentRow();
    if (row <= kAutomaticRow || row > static_cast<int>(channels.size()))
        return {};
    const GuideChannelInfo& channel = channels[static_cast<std::size_t>(row - 1)];
    return {channel.source, channel.id};
}

bool GuideChannelDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == filter && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(list, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
