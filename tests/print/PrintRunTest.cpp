#include "DesktopPrinter.h"
#include "PageImages.h"
#include "Paths.h"
#include "PrintFont.h"
#include "PrintSlots.h"
#include "PrinterProvider.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QPainter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QUrl>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

PrintJob CouponJob()
{
    PrintJob job;
    job.layout = kCouponSlots;
    job.title = u"복권쿠폰"_s;
    job.pdfPrefix = u"복권쿠폰_"_s;
    job.jobPerPage = true;
    return job;
}

void KoreanSlot(QPainter& painter, const QRect& slot, int item)
{
    painter.drawRect(8, 10, 3492, 7740);
    painter.setFont(PrintFont(9));
    painter.drawText(180, 230, u"[업소복권]  1203회 추첨일:2025/12/13"_s);
    painter.setFont(PrintFont(10, true));
    painter.drawText(180, 460, u"[게임%1]  03 11 19 24 38 45"_s.arg(item + 1));
    Q_UNUSED(slot);
}

int PdfPages(const QByteArray& pdf)
{
    static const QRegularExpression page(u"/Type\\s*/Page(?![a-zA-Z])"_s);
    int count = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); it.next())
        ++count;
    return count;
}

// Every file under a folder, with its path relative to it: a run that fails must not leave one behind.
QStringList FilesUnder(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(folder).relativeFilePath(it.next()));
    files.sort();
    return files;
}

} // namespace

TEST(PrintSlots, WithoutAPrinterTheRunIsOnePdfInDataWithAPageForEverySixItemsAndKoreanTextEmbedded)
{
    TestInstall install;
    const QStringList before = FilesUnder(install.root());
    TestPrinters none {QString()};

    const PrintOutcome outcome = PrintSlots(CouponJob(), 13, KoreanSlot);

    const QString expected = QDir(InstallPaths::dataDir()).filePath(u"복권쿠폰_20251208_100000.pdf"_s);
    EXPECT_TRUE(outcome.ok()) << outcome.error.toStdString();
    EXPECT_EQ(outcome.target, PrintOutcome::Target::Pdf);
    EXPECT_EQ(outcome.pdfPath, expected);
    EXPECT_EQ(outcome.pages, 3);
    EXPECT_EQ(none.jobs, QStringList {u"복권쿠폰"_s});
    EXPECT_EQ(DefaultPrinterName(), QString());
    QStringList after = before;
    after.append(QDir(install.root()).relativeFilePath(expected));
    after.sort();
    EXPECT_EQ(FilesUnder(install.root()), after);

    const QByteArray pdf = ReadBytes(expected);
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(PdfPages(pdf), 3);
    // The Hangul glyphs travel with the file, so it prints the same where the font is not installed.
    EXPECT_TRUE(pdf.contains("/FontFile2"));
    EXPECT_TRUE(pdf.contains("NanumGothicCoding"));
    EXPECT_EQ(install.launcher.urls, QStringList {QUrl::fromLocalFile(expected).toString()});
}

TEST(PrintSlots, NothingToPrintSendsNothingAndWritesNoFile)
{
    TestInstall install;
    const QStringList before = FilesUnder(install.root());
    TestPrinters printers(u"사무실 프린터"_s);

    const PrintOutcome outcome = PrintSlots(CouponJob(), 0, KoreanSlot);

    EXPECT_EQ(outcome.target, PrintOutcome::Target::Nothing);
    EXPECT_EQ(outcome.pages, 0);
    EXPECT_TRUE(outcome.ok());
    EXPECT_TRUE(printers.jobs.isEmpty());
    EXPECT_EQ(FilesUnder(install.root()), before);
}

TEST(PrintSlots, ADataFolderThatCannotBeWrittenGivesAnErrorAndLeavesNoFile)
{
    TestInstall install;
    // Even root cannot write into a folder that is a file.
    ASSERT_TRUE(QDir(install.root()).rename(u"DATA"_s, u"DATA.moved"_s));
    WriteBytes(InstallPaths::dataDir(), "not a folder");
    const QStringList before = FilesUnder(install.root());

    const PrintOutcome outcome = PrintSlots(CouponJob(), 7, KoreanSlot);

    EXPECT_FALSE(outcome.ok());
    EXPECT_TRUE(outcome.error.contains(u"복권쿠폰_20251208_100000.pdf"_s)) << outcome.error.toStdString();
    EXPECT_EQ(outcome.pages, 0);
    EXPECT_EQ(FilesUnder(install.root()), before);
    EXPECT_TRUE(install.launcher.urls.isEmpty());
}

TEST(PrintSlots, ARunThatFailsHalfWayPassesTheErrorOnAndLeavesNoFile)
{
    TestInstall install;
    const QStringList before = FilesUnder(install.root());

    EXPECT_THROW(PrintSlots(CouponJob(),
                            13,
                            [](QPainter& painter, const QRect& slot, int item) {
                                if (item == 8)
                                    throw std::runtime_error("coupon row missing");
                                KoreanSlot(painter, slot, item);
                            }),
                 std::runtime_error);

    EXPECT_EQ(FilesUnder(install.root()), before);
    EXPECT_TRUE(install.launcher.urls.isEmpty());
}

TEST(PrintSlots, TheDefaultPrinterTakesThePagesAndIsNamedInTheOutcome)
{
    TestInstall install;
    const QStringList before = FilesUnder(install.root());
    TestPrinters printers(u"사무실 프린터"_s);

    const PrintOutcome outcome = PrintSlots(CouponJob(), 7, KoreanSlot);

    EXPECT_TRUE(outcome.ok()) << outcome.error.toStdString();
    EXPECT_EQ(outcome.target, PrintOutcome::Target::Printer);
    EXPECT_EQ(outcome.printerName, u"사무실 프린터"_s);
    EXPECT_EQ(outcome.pages, 2);
    EXPECT_EQ(printers.jobs, QStringList {u"복권쿠폰"_s});
    EXPECT_EQ(DefaultPrinterName(), u"사무실 프린터"_s);
    EXPECT_EQ(FilesUnder(install.root()), before);
    EXPECT_TRUE(install.launcher.urls.isEmpty());
}

TEST(DesktopPrinter, WhereNoPrinterIsSetUpOffersNone)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "this machine has a printer, and the test must not print on it";
    DesktopPrinter desktop;
    EXPECT_EQ(desktop.defaultPrinterName(), QString());
    EXPECT_EQ(desktop.openDefault(CouponJob()), nullptr);
}
