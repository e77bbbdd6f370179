// The printed page: printed to a PDF file, turned into an image, and every part looked for at
// its place on the 1/600-inch design grid.

#include <gtest/gtest.h>

#include <QHash>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMarginsF>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include "mapview/map.h"
#include "print/page_layout.h"
#include "print/page_pictures.h"
#include "print/print_preview.h"
#include "print/scale_bar_view.h"
#include "siting/study.h"
#include "tests/print/print_fixture.h"

using namespace testdata;

namespace {

// The colour most pixels around p have: a result's class colour under its hatch lines.
QRgb mostAround(const QImage& page, QPoint p, int radius = 6) {
    QHash<QRgb, int> counts;
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) ++counts[page.pixel(p + QPoint(dx, dy))];
    QRgb best = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (!counts.contains(best) || it.value() > counts[best]) best = it.key();
    return best;
}

constexpr int kDpi = 120;  // image pixels per inch: one pixel is 5 design units
constexpr int kDesignPerPixel = 600 / kDpi;

int px(double design) { return int(design / kDesignPerPixel); }

bool inked(QRgb c) { return qRed(c) < 200 || qGreen(c) < 200 || qBlue(c) < 200; }

// Pictures reach the PDF file compressed: colours come back only nearly.
bool near(QRgb c, const QColor& want) {
    return std::abs(qRed(c) - want.red()) + std::abs(qGreen(c) - want.green()) +
               std::abs(qBlue(c) - want.blue()) < 30;
}

// Bounding box of the inked pixels inside a region of the image.
QRect inkBox(const QImage& image, const QRect& region) {
    QRect box;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (inked(image.pixel(x, y))) box |= QRect(x, y, 1, 1);
    return box;
}

// In place of the print preview, for as long as it lives: prints to a PDF file, or (not
// accepting) closes the preview without printing.
struct PdfPrinter {
    QString file;
    bool accept = true;
    explicit PdfPrinter(const QString& path) : file(path) {
        print::setPrintPreview(
            [this](QPrinter& printer, QWidget*, const print::PagePainter& paint) {
                if (!accept) return false;
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(file);
                printer.setPageSize(QPageSize(QPageSize::Letter));
                printer.setPageMargins(QMarginsF(0, 0, 0, 0));
                paint(printer);
                return true;
            });
    }
    ~PdfPrinter() { print::setPrintPreview({}); }
};

QImage pageImage(const QString& pdf) {
    const QString base = pdf + "-page";
    const int rc = QProcess::execute("pdftoppm", {"-r", QString::number(kDpi), "-png",
                                                  "-singlefile", pdf, base});
    EXPECT_EQ(rc, 0);
    return QImage(base + ".png").convertToFormat(QImage::Format_RGB32);
}

const engine::Shape kResult = square(1000, 0, 1000);

}  // namespace

class PrintedPage : public PrintFixture {
protected:
    frmPrint* window = nullptr;

    void SetUp() override {
        PrintFixture::SetUp();
        writeRegion(dir.path());
        open();
        main->Map1->layer(md_functions::LayerIndexByFile("20_wind.shp"))->visible = true;
        // Shown, so the terrain legend has an entry (a printed legend lists shown layers only).
        main->Map1->layer(md_functions::LayerIndexByFile("01_elevation.shp"))->visible = true;
        main->Map1->setExtent(engine::Rectangle(0, 0, 3000, 2000));
        // One query result of 650 W/m2: red, over a cell of 250 W/m2.
        siting::QueryResult result;
        result.fieldName = "WINDPWRD";
        result.add(kResult, 650);
        siting::Study::of(*main)->setResult(std::move(result));
        window = openPrintWindow();
        ASSERT_NE(window, nullptr);
        window->txtHeading->setText("North Region Wind Sites");
    }

    // Where a map point lands on the page, in image pixels.
    QPoint onPage(double x, double y) const {
        const engine::Rectangle e = window->Map2->extent();
        const double s = 4000 / e.width();  // the print map's shape is the page map's
        const QRectF image = print::mapImageRect(e.width(), e.height());
        return {px(image.left() + (x - e.left()) * s), px(image.top() + (e.top() - y) * s)};
    }
};

TEST_F(PrintedPage, MapHeadingScaleBarAndLegendsStandAtTheirDesignPositions) {
    PdfPrinter printer(dir.filePath("page.pdf"));
    QTest::mouseClick(window->cmdPrint, Qt::LeftButton);
    EXPECT_TRUE(dialogs->shown.isEmpty()) << dialogs->texts().join('|').toStdString();
    const QImage page = pageImage(printer.file);
    ASSERT_EQ(page.size(), QSize(1020, 1320));  // Letter at 120 dpi

    // The map image keeps the print map's shape, centred in (300, 350, 4000 x 3700): full
    // width, and the frame around it.
    const QRectF image = print::mapImageRect(window->Map2->extent().width(),
                                             window->Map2->extent().height());
    EXPECT_NEAR(image.left(), 300, 1);
    EXPECT_NEAR(image.width(), 4000, 1);
    const QRect map = inkBox(page, QRect(0, px(1000), page.width(), px(2400)));
    EXPECT_NEAR(map.left(), px(290), 2);
    EXPECT_NEAR(map.right(), px(4300), 2);
    // Nothing to the right of the map or above the heading.
    EXPECT_TRUE(inkBox(page, QRect(px(4330), 0, page.width() - px(4330), px(4000))).isEmpty());
    EXPECT_TRUE(inkBox(page, QRect(0, 0, page.width(), px(240))).isEmpty());

    // The query result, in red, where its map position falls on the page.
    const QRgb result = mostAround(page, onPage(1500, 500));
    EXPECT_GT(qRed(result), 220);
    EXPECT_LT(qGreen(result), 40);
    EXPECT_LT(qBlue(result), 40);
    // A wind cell of 450 W/m2 keeps its class colour.
    const QRgb wind = page.pixel(onPage(600, 1600));
    EXPECT_EQ(QColor(wind).name(), QColor(255, 110, 180).name());

    // The heading text inside its box (550, 250, 3000 x 150).
    const QRect heading = inkBox(page, QRect(px(500), px(240), px(3100), px(100)));
    ASSERT_FALSE(heading.isEmpty());
    EXPECT_GE(heading.left(), px(550));
    EXPECT_GE(heading.top(), px(250));
    EXPECT_LE(heading.bottom(), px(400));

    // The scale bar in its band below the map (300, 3800, 4000 x 300), above the legends.
    const QRect bar = inkBox(page, QRect(px(250), px(3790), px(4100), px(210)));
    ASSERT_FALSE(bar.isEmpty());
    EXPECT_GE(bar.top(), px(3800));
    EXPECT_LE(bar.bottom(), px(4000));
    EXPECT_GE(bar.left(), px(300));
    EXPECT_LE(bar.right(), px(4300));
    // Its segments measure the printed map: their length on paper is the ground distance
    // they are labelled with, at the map's scale.
    int barLength = 0;  // on the row that crosses the segments
    for (int y = bar.top(); y <= bar.bottom(); ++y) {
        int first = page.width(), last = -1, count = 0;
        for (int x = bar.left(); x <= bar.right(); ++x) {
            const QRgb c = page.pixel(x, y);
            if (near(c, QColor(128, 128, 128)) || near(c, QColor(192, 192, 255))) {
                first = std::min(first, x);
                last = std::max(last, x);
                ++count;
            }
        }
        if (count > (last - first + 1) * 9 / 10) barLength = std::max(barLength, last - first + 1);
    }
    const engine::ScaleBar scaleBar = print::pageScaleBar(window->sbMapView->bar, image);
    const double kilometres = scaleBar.barDistance(print::scaleBarTarget());
    EXPECT_GT(kilometres, 0);
    const double metresPerDesignUnit = window->Map2->extent().width() / 4000;
    EXPECT_NEAR(barLength, px(kilometres * 1000 / metresPerDesignUnit), 2);

    // Legends 1, 4, 3 from the left, each in its column from y 4000.
    const int h = frmPrint::ConvTwips2Pix(*window, 4000, 1);
    for (int column = 0; column < 3; ++column) {
        SCOPED_TRACE(column);
        // From just below the scale bar's box, whose lower part the legends overlap.
        const QRect region(px(500 + 1000 * column), px(4010), px(1000), px(1400 + h + 100));
        const QRect legend = inkBox(page, region);
        ASSERT_FALSE(legend.isEmpty());
        // The legend's first entry starts a little inside its corner.
        EXPECT_LE(legend.left(), px(560 + 1000 * column));
        EXPECT_GE(legend.top(), px(4000));
        EXPECT_LE(legend.top(), px(4060));
        EXPECT_LE(legend.bottom(), px(4000 + 1400 + h));
    }
}

TEST_F(PrintedPage, EveryPrintDrawsTheResultsAgain) {
    PdfPrinter printer(dir.filePath("first.pdf"));
    window->cmdPrint_Click();
    printer.file = dir.filePath("second.pdf");
    window->cmdPrint_Click();
    for (const QString& pdf : {dir.filePath("first.pdf"), dir.filePath("second.pdf")}) {
        const QImage page = pageImage(pdf);
        EXPECT_EQ(QColor(mostAround(page, onPage(1500, 500))).name(), "#ff0000") << pdf.toStdString();
    }
}

// The print preview itself, opened and closed again without printing.
TEST_F(PrintedPage, PrintShowsThePageInAPreviewFirst) {
    int pages = -1;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!preview) return;
        title = preview->windowTitle();
        if (auto* widget = preview->findChild<QPrintPreviewWidget*>()) pages = widget->pageCount();
        preview->reject();
    });
    QTest::mouseClick(window->cmdPrint, Qt::LeftButton);
    EXPECT_EQ(pages, 1);
    EXPECT_FALSE(title.isEmpty());
    EXPECT_TRUE(dialogs->shown.isEmpty()) << dialogs->texts().join('|').toStdString();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(PrintedPage, PreviewClosedWithoutPrintingPrintsNothing) {
    PdfPrinter printer(dir.filePath("never.pdf"));
    printer.accept = false;
    window->cmdPrint_Click();
    EXPECT_FALSE(QFile::exists(printer.file));
    EXPECT_TRUE(dialogs->shown.isEmpty());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(PrintedPage, PrinterThatCannotStartIsReported) {
    PdfPrinter printer(dir.filePath("no-such-folder/page.pdf"));
    window->cmdPrint_Click();
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown[0].text,
              " Error in cmdPrint_Click function. Error Source:frmPrint. cmdPrint_Click()\n"
              "the printer cannot start");
    EXPECT_EQ(dialogs->shown[0].icon, feedback::iconWarning);
    EXPECT_TRUE(window->isVisible());
}
