#include "channels/frequency.h"

#include <QtTest/QtTest>

class TestFrequency : public QObject {
    Q_OBJECT
private slots:
    void admitsFrequency_data();
    void admitsFrequency();
    void everyRasterStepIsAdmittedAndNothingBetween();
    void canonicalForm_data();
    void canonicalForm();
};

void TestFrequency::admitsFrequency_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("admitted");

    QTest::newRow("lower bound") << "118.000" << true;
    QTest::newRow("raster 25") << "118.025" << true;
    QTest::newRow("raster 50") << "118.050" << true;
    QTest::newRow("raster 75") << "118.075" << true;
    QTest::newRow("mid band") << "128.450" << true;
    QTest::newRow("top channel") << "136.975" << true;
    QTest::newRow("upper bound") << "138.000" << true;
    QTest::newRow("above band") << "138.025" << false;
    QTest::newRow("below band") << "117.975" << false;
    QTest::newRow("5 kHz grid") << "118.005" << false;
    QTest::newRow("10 kHz") << "118.010" << false;
    QTest::newRow("30 kHz") << "118.030" << false;
    QTest::newRow("55 kHz") << "123.455" << false;
    QTest::newRow("20 kHz") << "118.020" << false;
    QTest::newRow("95 kHz") << "132.995" << false;
    QTest::newRow("12 kHz") << "118.012" << false;
    QTest::newRow("90 kHz") << "137.990" << false;
    QTest::newRow("six characters") << "118.01" << false;
    QTest::newRow("eight characters") << "118.0250" << false;
    QTest::newRow("trailing blank leaves six") << "118.00 " << false;
    QTest::newRow("leading blank") << " 118.025" << true;
    QTest::newRow("blanks both sides") << "  118.025  " << true;
    QTest::newRow("leading zero") << "0118.00" << true;
    QTest::newRow("plus sign") << "+118.00" << true;
    QTest::newRow("minus sign") << "-118.00" << false;
    QTest::newRow("letters") << "abc.def" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blanks only") << "       " << false;
    QTest::newRow("exponent") << "1.2E+02" << false;
    QTest::newRow("exponent lower") << "1.20e02" << false;
    QTest::newRow("decimal comma") << "118,025" << false;
    QTest::newRow("grouping") << "1,18.00" << false;
    QTest::newRow("two points") << "118.0.0" << false;
    QTest::newRow("sign only") << "+......" << false;
    QTest::newRow("inner blank") << "118 025" << false;
    QTest::newRow("tab padded") << "\t118.025" << false;
    QTest::newRow("no fraction digits") << "000118." << true;
    QTest::newRow("point first") << ".118000" << false;
}

void TestFrequency::admitsFrequency()
{
    QFETCH(QString, text);
    QFETCH(bool, admitted);
    QCOMPARE(validFrequency(text), admitted);
}

void TestFrequency::everyRasterStepIsAdmittedAndNothingBetween()
{
    for (int khz = 117000; khz <= 139000; khz += 5) {
        const QString text = QStringLiteral("%1.%2").arg(khz / 1000).arg(khz % 1000, 3, 10, QChar(u'0'));
        const bool expected = khz >= 118000 && khz <= 138000 && khz % 25 == 0;
        QVERIFY2(validFrequency(text) == expected, qPrintable(text));
    }
}

void TestFrequency::canonicalForm_data()
{
    QTest::addColumn<QString>("admitted");
    QTest::addColumn<QString>("canonical");

    QTest::newRow("already canonical") << "136.975" << "136.975";
    QTest::newRow("leading blank") << " 118.025" << "118.025";
    QTest::newRow("trailing blank") << "118.025 " << "118.025";
    QTest::newRow("leading zero") << "0118.00" << "118.000";
    QTest::newRow("plus sign") << "+118.00" << "118.000";
    QTest::newRow("bare point") << "000118." << "118.000";
    QTest::newRow("upper bound") << "+138.00" << "138.000";
}

void TestFrequency::canonicalForm()
{
    QFETCH(QString, admitted);
    QFETCH(QString, canonical);
    QVERIFY(validFrequency(admitted));
    QCOMPARE(canonicalFrequency(admitted), canonical);
}

QTEST_GUILESS_MAIN(TestFrequency)
#include "test_frequency.moc"
