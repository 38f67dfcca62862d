#include "GuidesDlg.h"

#include "GuideLibrary.h"
#include "GuideOrderTexts.h"
#include "GuideWording.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
constexpr QSize kSize(640, 420);
constexpr double kSecondsPerHour = 3600.0;
constexpr double kCorrectionStepHours = 0.25; // zones a quarter of an hour apart exist
constexpr int kCorrectionDecimals = 2;
} // namespace

GuidesDlg::GuidesDlg(QWidget* parent, const LanguageStrings& texts, GuideLibrary& library)
    : QDialog(parent), texts(texts), library(library)
{
    const auto text = [&texts](int index) { return texts.Text(GuideOrder, index); };
    setWindowTitle(text(GuideOrderCaption));
    resize(kSize);
    list = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("guides"));
    list->setRootIsDecorated(false);
    list->setColumnCount(ColumnCount);
    list->setHeaderLabels({text(GuideOrderColumnGuide), text(GuideOrderColumnChannels), text(GuideOrderColumnImported),
                           text(GuideOrderColumnState)});
    list->setAccessibleName(text(GuideOrderCaption));
    list->header()->setSectionResizeMode(ColumnGuide, QHeaderView::Stretch);
    list->header()->setStretchLastSection(false);
    up = new QPushButton(text(GuideOrderUp), this);
    down = new QPushButton(text(GuideOrderDown), this);
    auto* moves = new QVBoxLayout();
    moves->addWidget(up);
    moves->addWidget(down);
    moves->addStretch();
    auto* top = new QHBoxLayout();
    top->addWidget(list, 1);
    top->addLayout(moves);

    const QString hours = QLatin1Char(' ') + text(GuideOrderHours);
    correction = new QDoubleSpinBox(this);
    correction->setObjectName(QStringLiteral("guideCorrection"));
    const double most = GuideSetting::kMaxCorrectionSeconds / kSecondsPerHour;
    correction->setRange(-most, most);
    correction->setSingleStep(kCorrectionStepHours);
    correction->setDecimals(kCorrectionDecimals);
    correction->setSuffix(hours);
    refresh = new QSpinBox(this);
    refresh->setObjectName(QStringLiteral("guideRefresh"));
    refresh->setRange(0, GuideSetting::kMaxRefreshHours);
    refresh->setSpecialValueText(text(GuideOrderAsPreferences));
    refresh->setSuffix(hours);
    auto* form = new QFormLayout();
    form->addRow(text(GuideOrderCorrection), correction);
    form->addRow(text(GuideOrderRefresh), refresh);
    auto* rule = new QLabel(text(GuideOrderRule), this);
    rule->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(text(GuideOrderClose));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(form);
    layout->addWidget(rule);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(up, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(down, &QPushButton::clicked, this, [this] { Move(+1); });
    connect(list, &QTreeWidget::currentItemChanged, this, &GuidesDlg::ShowSelected);
    connect(list, &QTreeWidget::itemChanged, this, &GuidesDlg::Checked);
    connect(correction, &QDoubleSpinBox::editingFinished, this, &GuidesDlg::SettingEdited);
    connect(refresh, &QSpinBox::editingFinished, this, &GuidesDlg::SettingEdited);
    // What an import or a load under way changes shows as it comes.
    connect(&library, &GuideLibrary::ListChanged, this, &GuidesDlg::Fill);
    connect(&library, &GuideLibrary::Changed, this, &GuidesDlg::Fill);
    Fill();
    list->setCurrentItem(list->topLevelItem(0));
    list->setFocus();
}

int GuidesDlg::Selected() const
{
    return list->currentItem() != nullptr ? list->indexOfTopLevelItem(list->currentItem()) : -1;
}

void GuidesDlg::Fill()
{
    const int selected = Selected();
    const std::vector<GuideInfo> stored = library.Store().Guides();
    const QSignalBlocker blocker(list);
    list->clear();
    const auto& guides = library.Guides();
    for (int k = 0; k < static_cast<int>(guides.size()); ++k) {
        const GuideSource& guide = guides[static_cast<std::size_t>(k)];
        const auto info = std::find_if(stored.begin(), stored.end(), [&](const GuideInfo& g) { return g.source == guide.source; });
        const bool isStored = info != stored.end();
        auto* item = new QTreeWidgetItem(list);
        item->setText(ColumnGuide, guide.name);
        item->setToolTip(ColumnGuide, guide.source);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(ColumnGuide, library.SettingOf(k).off ? Qt::Unchecked : Qt::Checked);
        item->setText(ColumnChannels, isStored ? QLocale().toString(info->channels) : QString());
        item->setText(ColumnImported, isStored && info->imported > 0
                                          ? ViewerDateTime(texts, QDateTime::fromSecsSinceEpoch(info->imported))
                                          : texts.Text(GuideOrder, GuideOrderNever));
        item->setText(ColumnState, StateOf(k, isStored));
    }
    for (int column = ColumnChannels; column < ColumnCount; ++column)
        list->resizeColumnToContents(column);
    if (selected >= 0 && selected < list->topLevelItemCount())
        list->setCurrentItem(list->topLevelItem(selected));
    ShowSelected();
}

QString GuidesDlg::StateOf(int index, bool stored) const
{
    const GuideSource& guide = library.Guides()[static_cast<std::size_t>(index)];
    if (library.SettingOf(index).off)
        return texts.Text(GuideOrder, GuideOrderStateOff);
    if (library.PermilleOf(guide.source) >= 0)
        return texts.Text(GuideOrder, GuideOrderStateReading);
    if (guide.lastProblem != GuideProblem::None && guide.lastProblem != GuideProblem::Cancelled)
        return GuideReasonText(texts, guide.lastProblem, guide.lastDetail);
    return texts.Text(GuideOrder, stored ? GuideOrderStateRead : GuideOrderStateNotRead);
}

void GuidesDlg::ShowSelected()
{
    const int selected = Selected();
    const int count = list->topLevelItemCount();
    up->setEnabled(selected > 0);
    down->setEnabled(selected >= 0 && selected + 1 < count);
    correction->setEnabled(selected >= 0);
    refresh->setEnabled(selected >= 0);
    if (selected < 0)
        return;
    const GuideSetting setting = library.SettingOf(selected);
    const QSignalBlocker quietCorrection(correction);
    const QSignalBlocker quietRefresh(refresh);
    correction->setValue(setting.correctionSeconds / kSecondsPerHour);
    refresh->setValue(setting.refreshHours);
}

void GuidesDlg::Move(int step)
{
    const int selected = Selected();
    if (selected < 0 || selected + step < 0 || selected + step >= list->topLevelItemCount())
        return;
    library.Move(selected, step); // the list is filled again
    list->setCurrentItem(list->topLevelItem(selected + step));
}

void GuidesDlg::Checked(QTreeWidgetItem* item, int column)
{
    const int index = list->indexOfTopLevelItem(item);
    if (column != ColumnGuide || index < 0)
        return;
    GuideSetting setting = library.SettingOf(index);
    setting.off = item->checkState(ColumnGuide) != Qt::Checked;
    library.SetSetting(index, setting);
}

void GuidesDlg::SettingEdited()
{
    const int selected = Selected();
    if (selected < 0)
        return;
    GuideSetting setting = library.SettingOf(selected);
    setting.correctionSeconds = std::lround(correction->value() * kSecondsPerHour);
    setting.refreshHours = refresh->value();
    library.SetSetting(selected, setting);
}
