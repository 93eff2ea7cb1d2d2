// The picture bundle as staged beside the program: every picture the start
// panel and the splash ask for, and what a missing or broken bundle gives.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/pictures.h"

namespace orvan {
namespace {

QString stageDir() {
  const QString env = qEnvironmentVariable("ORVAN_STAGE_DIR");
  if (!env.isEmpty()) return env;
  // Run by hand: the tests sit in <build>/tests, the staged folder in <build>/Orvan.
  return QCoreApplication::applicationDirPath() + QStringLiteral("/../Orvan");
}

struct Expected {
  const char* name;
  int width, height;
};

const Expected kPictures[] = {
    {"MainTran1", 69, 96},         {"MainTran2", 69, 96},         {"MainCMS1", 69, 96},
    {"MainCMS2", 69, 96},          {"MainTrade1", 69, 96},        {"MainTrade2", 69, 96},
    {"MainCTrade1", 69, 96},       {"MainCTrade2", 69, 96},       {"MainGUMAE1", 69, 96},
    {"MainGUMAE2", 69, 96},        {"MainPurchase1", 69, 96},     {"MainPurchase2", 69, 96},
    {"MainPurchase_N1", 69, 96},   {"MainPurchase_N2", 69, 96},   {"MainRecv1", 69, 96},
    {"MainRecv2", 69, 96},         {"MainNote1", 69, 96},         {"MainNote2", 69, 96},
    {"MainCommSend1", 69, 96},     {"MainCommSend2", 69, 96},     {"MainCommRecv1", 69, 96},
    {"MainCommRecv2", 69, 96},     {"MainCommSendRecv1", 69, 96}, {"MainCommSendRecv2", 69, 96},
    {"MainOnline1", 69, 96},       {"MainOnline2", 69, 96},       {"MainExit1", 100, 80},
    {"MainExit2", 100, 80},        {"MainBackground", 785, 520},  {"Splash", 480, 300},
};

TEST(PictureBundle, StagedBundleHoldsEveryPictureAtItsSize) {
  PictureBundle bundle;
  ASSERT_TRUE(bundle.load(stageDir())) << qPrintable(stageDir());
  for (const Expected& e : kPictures) {
    SCOPED_TRACE(e.name);
    const QString name = QLatin1String(e.name);
    EXPECT_TRUE(bundle.has(name));
    const QImage img = bundle.picture(name);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(e.width, e.height));
  }
}

TEST(PictureBundle, HotPictureDiffersFromNormal) {
  PictureBundle bundle;
  ASSERT_TRUE(bundle.load(stageDir()));
  for (const Expected& e : kPictures) {
    const QString name = QLatin1String(e.name);
    if (!name.endsWith(QLatin1Char('1'))) continue;
    SCOPED_TRACE(e.name);
    const QString normal = name.chopped(1) + QLatin1Char('2');
    EXPECT_NE(bundle.picture(name), bundle.picture(normal));
  }
}

TEST(PictureBundle, PicturesOutliveTheBundle) {
  QImage img;
  {
    PictureBundle bundle;
    ASSERT_TRUE(bundle.load(stageDir() + QLatin1Char('/')));  // with the trailing slash paths() keeps
    img = bundle.picture(QStringLiteral("MainExit2"));
  }
  ASSERT_EQ(img.size(), QSize(100, 80));
  EXPECT_NE(img.pixel(50, 40), 0u);  // pixels still readable after the bundle is gone
}

TEST(PictureBundle, TwoBundlesAreIndependent) {
  PictureBundle first, second;
  ASSERT_TRUE(first.load(stageDir()));
  ASSERT_TRUE(second.load(stageDir()));
  first.unload();
  EXPECT_FALSE(first.has(QStringLiteral("Splash")));
  EXPECT_TRUE(first.picture(QStringLiteral("Splash")).isNull());
  EXPECT_FALSE(second.picture(QStringLiteral("Splash")).isNull());
}

TEST(PictureBundle, UnknownOrPathLikeNamesGiveNothing) {
  PictureBundle bundle;
  ASSERT_TRUE(bundle.load(stageDir()));
  for (const char* name : {"MainTran3", "", "maintran1", "../MainTran1", "MainTran1/", "/ZuDezuzu/0/Splash"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(bundle.has(QLatin1String(name)));
    EXPECT_TRUE(bundle.picture(QLatin1String(name)).isNull());
  }
}

TEST(PictureBundle, MissingOrBrokenBundleFailsToLoad) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  PictureBundle bundle;
  EXPECT_FALSE(bundle.load(dir.path()));
  EXPECT_FALSE(bundle.isLoaded());
  EXPECT_TRUE(bundle.picture(QStringLiteral("MainTran1")).isNull());

  // Something else under the bundle's name, and a folder of that name.
  QFile junk(dir.filePath(kPictureBundleFile));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write(QByteArray(4096, 'x'));
  junk.close();
  EXPECT_FALSE(bundle.load(dir.path()));
  QTemporaryDir other;
  ASSERT_TRUE(QDir(other.path()).mkdir(kPictureBundleFile));
  EXPECT_FALSE(bundle.load(other.path()));
  EXPECT_FALSE(bundle.has(QStringLiteral("MainTran1")));
}

TEST(PictureBundle, ReloadFromAMissingFolderDropsTheOldBundle) {
  PictureBundle bundle;
  ASSERT_TRUE(bundle.load(stageDir()));
  QTemporaryDir empty;
  EXPECT_FALSE(bundle.load(empty.path()));
  EXPECT_FALSE(bundle.has(QStringLiteral("MainTran1")));
}

}  // namespace
}  // namespace orvan
