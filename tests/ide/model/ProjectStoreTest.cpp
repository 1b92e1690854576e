#include "ide/model/ProjectStore.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

TEST(ProjectStoreTest, ChangesAskForOneSaveUnlessToldNotToAndUnknownIdsChangeNothing)
{
    int saves = 0;
    ProjectStore store(CampaignIDEWorkspaceModel::sampleProjects(), [&saves] { ++saves; });
    QSignalSpy changed(&store, &ProjectStore::projectChanged);
    QSignalSpy inserted(&store, &ProjectStore::projectInserted);
    QSignalSpy removed(&store, &ProjectStore::projectRemoved);
    const QUuid first = store.projects().first().id;

    EXPECT_FALSE(store.mutateProject(QUuid::createUuid(), [](CampaignIDEProject &p) { p.name = u"x"_s; }));
    EXPECT_TRUE(store.mutateProject(
        first, [](CampaignIDEProject &p) { p.name = u"Draft"_s; }, Save::no));
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(store.mutateProject(first, [](CampaignIDEProject &p) { p.name = u"Kept"_s; }));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(store.project(first)->name, u"Kept"_s);

    // Rows are clamped into the list; a removal of several is one save, rows announced from the end.
    store.insertProject(99, store.projects().first());
    EXPECT_EQ(inserted.takeFirst().at(0).value<qsizetype>(), 2);
    EXPECT_EQ(store.removeProjects([&first](const CampaignIDEProject &p) { return p.id == first; }), 2);
    EXPECT_EQ(saves, 3);
    ASSERT_EQ(removed.count(), 2);
    EXPECT_EQ(removed.at(0).at(0).value<qsizetype>(), 2);
    EXPECT_EQ(removed.at(1).at(0).value<qsizetype>(), 0);
    EXPECT_EQ(store.removeProjects([](const CampaignIDEProject &) { return false; }), 0);
    EXPECT_EQ(saves, 3);
}

} // namespace
} // namespace orvane::test
