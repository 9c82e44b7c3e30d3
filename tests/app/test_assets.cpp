#include "core/fonts.h"
#include "app/help_viewer.h"
#include "app/resources/images.h"

#include <QtCore/QSet>
#include <QtCore/QTemporaryDir>
#include <QtGui/QFontDatabase>
#include <QtGui/QFontInfo>
#include <QtGui/QTextBlock>
#include <QtGui/QTextDocument>
#include <QtTest/QtTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QTextBrowser>

namespace {

const QStringList toolbarKeys = {"open",  "save",        "download", "upload",
                                 "print", "cancelprint", "com"};

double CoveredFraction(const QImage &image)
{
    qsizetype covered = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            covered += qAlpha(image.pixel(x, y)) > 0;
    return double(covered) / (image.width() * image.height());
}


QList<HelpViewer *> Viewers(const QWidget &owner)
{
    return owner.findChildren<HelpViewer *>(QString(), Qt::FindDirectChildrenOnly);
}

QImage Rendered(const QIcon &icon, int side)
{
    return icon.pixmap(QSize(side, side)).toImage().convertToFormat(QImage::Format_ARGB32);
}


QStringList InternalLinksWithoutAnchor(const QTextDocument &document)
{
    QSet<QString> anchors;
    QStringList targets;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString &name : format.anchorNames())
                anchors.insert(name);
            if (format.anchorHref().startsWith('#'))
                targets << format.anchorHref().mid(1);
        }
    QStringList missing;
    for (const QString &target : targets)
        if (!anchors.contains(target))
            missing << target;
    return missing;
}



} // namespace


class TestAssets : public QObject {
    Q_OBJECT

private slots:
    void toolbarImageRenders_data();
    void toolbarImageRenders();
    void toolbarImagesAreDistinct();
    void logoRenders_data();
    void logoRenders();

    void fontFallsBackToInstalledFamily_data();
    void fontFallsBackToInstalledFamily();
    void fontPrefersLiberation_data();
    void fontPrefersLiberation();

    void openHelpRefusesUnreadable_data();
    void openHelpRefusesUnreadable();
    void openHelpShowsBuiltDocument();
    void helpLinksReachAnchors();
};

void TestAssets::toolbarImageRenders_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("side");
    for (const QString &key : toolbarKeys)
        for (int side : {16, 102})
            QTest::addRow("%s@%d", qPrintable(key), side) << key << side;
}

void TestAssets::toolbarImageRenders()
{
    QFETCH(QString, key);
    QFETCH(int, side);
    const QIcon icon = toolbarImage(key);
    QVERIFY(!icon.isNull());
    const QImage image = Rendered(icon, side);
    QCOMPARE(image.size(), QSize(side, side));
    QVERIFY2(CoveredFraction(image) > 0.15, qPrintable(QString::number(CoveredFraction(image))));
}

void TestAssets::toolbarImagesAreDistinct()
{
    for (qsizetype i = 0; i < toolbarKeys.size(); ++i)
        for (qsizetype j = i + 1; j < toolbarKeys.size(); ++j)
            QVERIFY2(Rendered(toolbarImage(toolbarKeys[i]), 16)
                         != Rendered(toolbarImage(toolbarKeys[j]), 16),
                     qPrintable(toolbarKeys[i] + " looks like " + toolbarKeys[j]));
}





void TestAssets::logoRenders_data()
{
    QTest::addColumn<int>("side");
    QTest::newRow("toolbar size") << 16;
    QTest::newRow("mouse pointer") << 32;
    QTest::newRow("About background") << 102;
}

void TestAssets::logoRenders()
{
    QFETCH(int, side);
    const QPixmap logo = logoPixmap(side);
    QCOMPARE(logo.deviceIndependentSize(), QSizeF(side, side));
    const QImage image = logo.toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(CoveredFraction(image) > 0.5, qPrintable(QString::number(CoveredFraction(image))));
    QVERIFY(CoveredFraction(image) < 1.0);
}



void TestAssets::fontFallsBackToInstalledFamily_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("pointSize");
    QTest::addColumn<bool>("bold");
    QTest::newRow("notice line") << "Arial" << 11.25 << true;
    QTest::newRow("report") << "Courier New" << 10.0 << false;
    QTest::newRow("abort notice") << "MS SansSerif" << 8.0 << true;
    QTest::newRow("terminal pane") << "Small Fonts" << 6.75 << false;
    QTest::newRow("unknown family") << "No Such Family Varlo" << 9.0 << false;
}

void TestAssets::fontFallsBackToInstalledFamily()
{
    QFETCH(QString, family);
    QFETCH(qreal, pointSize);
    QFETCH(bool, bold);
    const QFont font = varloFont(family, pointSize, bold);
    const QStringList installed = QFontDatabase::families();
    QVERIFY2(installed.contains(font.family(), Qt::CaseInsensitive), qPrintable(font.family()));
    if (installed.contains(family, Qt::CaseInsensitive))
        QCOMPARE(font.family().toLower(), family.toLower());
    QCOMPARE(font.pointSizeF(), pointSize);
    QCOMPARE(font.bold(), bold);
}

void TestAssets::fontPrefersLiberation_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("equivalent");
    QTest::newRow("Arial") << "Arial" << "Liberation Sans";
    QTest::newRow("Courier New") << "Courier New" << "Liberation Mono";
}

void TestAssets::fontPrefersLiberation()
{
    QFETCH(QString, family);
    QFETCH(QString, equivalent);
    const QStringList installed = QFontDatabase::families();
    if (installed.contains(family, Qt::CaseInsensitive))
        QSKIP("the named font is installed here");
    if (!installed.contains(equivalent))
        QSKIP("Liberation fonts are not installed here");
    QCOMPARE(varloFont(family, 10).family(), equivalent);
}



void TestAssets::openHelpRefusesUnreadable_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing file") << "Varlo.hlp";
    QTest::newRow("directory in its place") << "folder";
    QTest::newRow("empty path") << "";
}

void TestAssets::openHelpRefusesUnreadable()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    const QString path = name.isEmpty() ? QString() : dir.filePath(name);
    QWidget owner;
    QVERIFY(!showHelpFile(&owner, path));
    QVERIFY(Viewers(owner).isEmpty());
}

void TestAssets::openHelpShowsBuiltDocument()
{
    QWidget owner;
    QVERIFY(showHelpFile(&owner, VARLO_HELP_FILE));
    QCOMPARE(Viewers(owner).size(), 1);
    HelpViewer *viewer = Viewers(owner).first();
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->isWindow());
    QCOMPARE(viewer->windowTitle(), QString("Varlo Help"));
    QCOMPARE(viewer->browser()->documentTitle(), QString("Varlo Help"));
    QVERIFY(viewer->browser()->toPlainText().contains("Connecting the radio"));
}



void TestAssets::helpLinksReachAnchors()
{
    HelpViewer viewer;
    QVERIFY(viewer.showDocument(VARLO_HELP_FILE));
    const QStringList missing = InternalLinksWithoutAnchor(*viewer.browser()->document());
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
}





QTEST_MAIN(TestAssets)
#include "test_assets.moc"
