// The fixed shape of the channel tree, and how building it stops on missing texts.

#include "ChannelWindowFixture.h"
#include "ChannelTreeLayout.h"
#include "LanguagePack.h"

#include <QTreeWidgetItemIterator>

#include <set>

namespace {
ChannelId idOf(const QTreeWidgetItem* item)
{
    return item->data(0, Qt::UserRole).toUInt();
}

int imageOf(const QTreeWidgetItem* item)
{
    return item->data(0, ImageIndexRole).toInt();
}

QList<int> positionsUnder(const QTreeWidgetItem* node)
{
    QList<int> positions;
    for (int k = 0; k < node->childCount(); ++k) {
        if (idOf(node->child(k)) != 0)
            positions.append(ChannelPosition(idOf(node->child(k))));
    }
    return positions;
}

QList<int> range(int first, int last)
{
    QList<int> values;
    for (int v = first; v <= last; ++v)
        values.append(v);
    return values;
}

int channelItemCount(QTreeWidget* tree)
{
    int count = 0;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it)
        count += idOf(*it) != 0 ? 1 : 0;
    return count;
}
} // namespace

TEST_F(ChannelWindowTest, TopLevelAndCountryNodesFollowTheFixedOrder)
{
    CreateWindow();
    QTreeWidget* tree = Tree();
    const QStringList topLabels = {"G0", "G4", "G5", "G6", "G1", "G3", "G2", "G9", "G8", "G7", "G10"};
    const QList<int> topImages = {11, 4, 5, 6, 1, 3, 2, 9, 8, 7, 10};
    ASSERT_EQ(tree->topLevelItemCount(), 11);
    for (int k = 0; k < 11; ++k) {
        EXPECT_EQ(tree->topLevelItem(k)->text(0), topLabels[k]);
        EXPECT_EQ(imageOf(tree->topLevelItem(k)), topImages[k]);
    }

    // Argentina, Canada, France, Germany, India, Italy, Japan, Netherlands, Russia, Spain, UK, USA.
    const QList<int> sections = {22, 18, 14, 13, 20, 16, 19, 21, 12, 17, 15, 11};
    const std::set<int> withFurther = {18, 14, 13, 16, 21, 17, 11};
    QTreeWidgetItem* countries = tree->topLevelItem(0);
    ASSERT_EQ(countries->childCount(), 12);
    for (int k = 0; k < 12; ++k) {
        const QTreeWidgetItem* country = countries->child(k);
        const int section = sections[k];
        EXPECT_EQ(country->text(0), QStringLiteral("C%1").arg(section - 11));
        EXPECT_EQ(imageOf(country), section + 10);
        const bool further = idOf(country->child(0)) == 0;
        EXPECT_EQ(further, withFurther.count(section) == 1) << section;
        if (further) {
            EXPECT_EQ(country->child(0)->text(0), "G11");
            EXPECT_EQ(imageOf(country->child(0)), 12);
        }
    }
}

TEST_F(ChannelWindowTest, ChannelsSitUnderTheirNodesInTheFixedOrder)
{
    CreateWindow();
    QTreeWidget* tree = Tree();
    int groups = 0;
    std::set<ChannelId> ids;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
        const ChannelId id = idOf(*it);
        if (id == 0) {
            ++groups;
            continue;
        }
        EXPECT_TRUE(ids.insert(id).second) << "twice: " << id;
        EXPECT_EQ((*it)->text(0), names[SectionIndex(id)][ChannelPosition(id)]);
        EXPECT_EQ(imageOf(*it), 0);
        EXPECT_EQ((*it)->childCount(), 0);
    }
    EXPECT_EQ(groups, 30);
    EXPECT_EQ(ids.size(), 559u);
    EXPECT_EQ(ids.count(MakeChannelId(1, 0)) + ids.count(MakeChannelId(1, 1)), 0u);

    EXPECT_EQ(positionsUnder(tree->topLevelItem(4)), range(2, 50));                      // Music
    EXPECT_EQ(positionsUnder(tree->topLevelItem(6)), QList<int>({0, 1, 2, 3, 6, 7, 4, 5})); // Games
    EXPECT_EQ(positionsUnder(tree->topLevelItem(8)), QList<int>({4, 0, 1, 2, 3, 5}));       // Kids
    EXPECT_EQ(positionsUnder(tree->topLevelItem(2)),
              QList<int>({0, 1, 2, 3, 4, 20, 5, 6, 7, 8, 9, 10, 11, 17, 18, 19, 12, 13, 14, 15, 16}));

    const QTreeWidgetItem* canada = tree->topLevelItem(0)->child(1);
    EXPECT_EQ(positionsUnder(canada->child(0)), range(22, 37));
    EXPECT_EQ(positionsUnder(canada), range(0, 21));
    EXPECT_EQ(SectionNumber(idOf(canada->child(1))), 18);
}

TEST_F(ChannelWindowTest, ShortMusicSectionStopsTheBuildThereAndKeepsWhatWasBuilt)
{
    while (names[0].size() > 40)
        names[0].removeLast();
    AddFavorite(QStringLiteral("Fav"), MakeChannelId(4, 0), 4);
    CreateWindow();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "An invalid argument was encountered.");

    QTreeWidget* tree = Tree();
    EXPECT_EQ(tree->topLevelItemCount(), 11);
    EXPECT_EQ(positionsUnder(tree->topLevelItem(4)), range(2, 39));
    EXPECT_EQ(channelItemCount(tree), 38);
    // The set-up ended with the tree: the favourites were never listed.
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    EXPECT_EQ(dlg->windowTitle(), "Channels");
}

TEST_F(ChannelWindowTest, MissingGroupLabelStopsBeforeTheNextNode)
{
    while (strings[Groups].size() > 5)
        strings[Groups].removeLast();
    CreateWindow();
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    ASSERT_EQ(Tree()->topLevelItemCount(), 2); // countries node and News
    EXPECT_EQ(Tree()->topLevelItem(1)->text(0), "G4");
}

TEST_F(ChannelWindowTest, ShippedEnglishTextsAndCatalogueBuildTheWholeTree)
{
    strings.Clear();
    names = {};
    descriptions = {};
    QString language = QStringLiteral("English");
    ASSERT_TRUE(LoadLanguagePack(nullptr, language, strings));
    ASSERT_TRUE(LoadChannelCatalogue(language, names, descriptions));
    CreateWindow();
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(channelItemCount(Tree()), 559);
    EXPECT_EQ(TreeItem(MakeChannelId(18, 22))->text(0), names[17][22]);
    EXPECT_EQ(TreeItem(MakeChannelId(18, 22))->parent()->text(0), strings.Text(Groups, 11));
}

TEST_F(ChannelWindowTest, LanguageChangeRebuildsTheSameShapeWithNewTexts)
{
    CreateWindow();
    strings = MakeStrings(QStringLiteral("x"));
    names = MakeCatalogue(QStringLiteral("M"));
    dlg->ApplyLanguage();
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(dlg->windowTitle(), "xChannels");
    EXPECT_EQ(Tabs()->tabText(0), "xAll");
    EXPECT_EQ(Tabs()->tabText(1), "xFavourites");
    EXPECT_EQ(Button(ID_CHANNEL_PLAY)->text(), "xPlay");
    EXPECT_EQ(Button(ID_CHANNEL_PLAY)->toolTip(), "xPlay tip");
    EXPECT_EQ(Button(ID_FAVORITES_DOWN)->toolTip(), "xDown tip");
    EXPECT_EQ(Tree()->topLevelItem(0)->child(1)->child(0)->text(0), "xG11");
    EXPECT_EQ(channelItemCount(Tree()), 559);
    EXPECT_EQ(TreeItem(MakeChannelId(8, 4))->text(0), "M8.4");
    EXPECT_TRUE(Tree()->updatesEnabled());
}
