// skinshot: loads a skin on Qt's offscreen platform with the software renderer,
// writes text variables into it as the console would, and saves what it shows
// as a PNG.
//
//   skinshot [--set PATH=VALUE]... [--slots] [--mock] [--wait MS] SKIN.qml OUT.png
//
// --slots outlines the rectangles where the console's own controls lie over the
// skin; --mock fills them with sample content, so that the picture looks like
// the console in use.
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMetaObject>
#include <QPainter>
#include <QPainterPath>
#include <QQmlError>
#include <QQuickItem>
#include <QQuickView>
#include <QRect>
#include <QThread>
#include <QUrl>

#include <cstdio>

namespace {

struct NativeRegion {
    const char* name;
    QRect rect;
};

// Where the console's own controls lie over the skin.
const NativeRegion kRegions[] = {
    {"edtcari", {215, 124, 522, 32}},         {"AdvSonglist", {33, 181, 778, 266}},
    {"lvPlaylistnNew", {835, 246, 326, 147}}, {"ProgBar", {40, 458, 722, 34}},
    {"lblwmp", {768, 466, 40, 20}},           {"Lblnowplay", {500, 27, 317, 20}},
    {"lblnextsong", {935, 27, 211, 20}},      {"lblCountPlaylist", {1128, 224, 36, 16}},
    {"lblUserNow", {74, 25, 167, 20}},        {"lbljam", {289, 29, 87, 19}},
    {"Progbattery", {1152, 25, 49, 21}},      {"lvkategori", {145, 109, 185, 324}},
};

void DrawSlots(QImage& image) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font("DejaVu Sans");
    font.setPixelSize(10);
    p.setFont(font);
    for (const NativeRegion& region : kRegions) {
        const bool onDemand = qstrcmp(region.name, "lvkategori") == 0;
        const QColor ink = onDemand ? QColor(255, 200, 0) : QColor(0, 255, 140);
        p.setPen(QPen(ink, 1, onDemand ? Qt::DashLine : Qt::SolidLine));
        p.setBrush(QColor(ink.red(), ink.green(), ink.blue(), onDemand ? 20 : 45));
        p.drawRect(region.rect.adjusted(0, 0, -1, -1));
        p.setPen(ink);
        p.drawText(region.rect.topLeft() + QPoint(2, 10), QString::fromLatin1(region.name));
    }
}

// Sample content in the console's own controls, roughly as the console draws it.
void DrawMock(QImage& image) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    auto text = [&p](const QRect& r, const QString& s, int px, const QColor& c, bool bold = false,
                     int flags = Qt::AlignLeft | Qt::AlignVCenter) {
        QFont f("DejaVu Sans");
        f.setPixelSize(px);
        f.setBold(bold);
        p.setFont(f);
        p.setPen(c);
        p.drawText(r, flags, s);
    };
    const QColor white(240, 240, 250);
    const QColor dark(20, 20, 30);

    text({74, 25, 167, 20}, "RINA & FRIENDS", 14, white, true);
    text({289, 29, 87, 19}, "20:15", 14, white, true);
    text({500, 27, 317, 20}, "SAMPAI JUMPA LAGI - NADA PELANGI", 14, white, true);
    text({935, 27, 211, 20}, "MALAM MINGGU - BAND LANGIT", 13, white);
    p.fillRect(QRect(1152, 25, 49, 21), QColor(30, 30, 40));
    p.fillRect(QRect(1154, 27, 33, 17), QColor(60, 200, 120));

    p.fillRect(QRect(215, 124, 522, 32), Qt::black);
    text({219, 124, 518, 32}, "CINTA", 29, white);

    const char* songs[][2] = {
        {"CINTA DI UJUNG SENJA", "NADA PELANGI"}, {"CINTA SELAMANYA", "RATNA SARI"},
        {"CINTA TAK BERSYARAT", "BAND LANGIT"},   {"CINTAKU PADAMU", "DIMAS ARYA"},
        {"CINTA PUTIH", "SEKAR AYU"},             {"CINTA YANG HILANG", "ORKES BINTANG"},
        {"CINTA DALAM DIAM", "KARINA PUTRI"},
    };
    const QRect list(33, 181, 778, 266);
    p.fillRect(list, Qt::black);
    for (int i = 0; i < 7; ++i) {
        const QRect row(list.x(), list.y() + i * 35, list.width(), 35);
        if (row.bottom() > list.bottom()) break;
        const bool selected = i == 1;
        if (selected) p.fillRect(row, QColor(225, 228, 255));
        const QColor ink = selected ? dark : white;
        text(row.adjusted(10, 0, 0, 0), songs[i][0], 16, ink);
        text(row.adjusted(350, 0, 0, 0), songs[i][1], 16, ink);
        p.setPen(QPen(QColor(255, 61, 139), 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPoint(row.right() - 22, row.center().y()), 11, 11);
        p.drawLine(row.right() - 27, row.center().y(), row.right() - 17, row.center().y());
        p.drawLine(row.right() - 22, row.center().y() - 5, row.right() - 22, row.center().y() + 5);
        p.fillRect(QRect(row.x(), row.bottom(), row.width(), 1), QColor(30, 32, 50));
    }

    const char* queue[] = {"MALAM MINGGU - BAND …", "SAMUDRA BIRU - RATNA…", "LAGU UNTUKMU - DIMAS…",
                           "RINDU RUMAH - SEKAR …"};
    const QRect pl(835, 246, 326, 147);
    p.fillRect(pl, Qt::black);
    for (int i = 0; i < 4; ++i) {
        const QRect row(pl.x(), pl.y() + i * 35, pl.width(), 35);
        if (row.top() >= pl.bottom()) break;
        const QRect visible = row.intersected(pl);
        if (i == 0) p.fillRect(visible, QColor(225, 228, 255));
        p.save();
        p.setClipRect(pl);
        text(row.adjusted(8, 0, -30, 0), queue[i], 15, i == 0 ? dark : white);
        p.restore();
    }
    text({1128, 224, 14, 16}, "4", 13, white, true, Qt::AlignCenter);

    const QRect bar(40, 458, 722, 34);
    p.fillRect(bar, QColor(10, 10, 18));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 44, 70));
    p.drawRoundedRect(QRect(bar.x() + 8, bar.center().y() - 3, bar.width() - 16, 6), 3, 3);
    p.setBrush(QColor(255, 61, 139));
    const int done = (bar.width() - 16) * 38 / 100;
    p.drawRoundedRect(QRect(bar.x() + 8, bar.center().y() - 3, done, 6), 3, 3);
    p.setBrush(white);
    p.drawEllipse(QPoint(bar.x() + 8 + done, bar.center().y()), 9, 9);
    text({768, 466, 40, 20}, "01:42", 12, white, true, Qt::AlignCenter);
}

int Fail(const QString& message) {
    std::fprintf(stderr, "skinshot: %s\n", qPrintable(message));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription("Renders a skin to a PNG.");
    parser.addHelpOption();
    parser.addOption({"set", "Write VALUE into the skin's variable PATH first.", "PATH=VALUE"});
    parser.addOption({"slots", "Outline where the console's own controls lie."});
    parser.addOption({"mock", "Fill the console's own controls with sample content."});
    parser.addOption({"wait", "Let the skin run MS milliseconds before the picture.", "MS", "600"});
    parser.addPositionalArgument("skin", "The skin's main.qml.");
    parser.addPositionalArgument("out", "The PNG to write.");
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2) {
        parser.showHelp(2);
    }
    const QString skinFile = args[0];
    const QString outFile = args[1];
    if (!QFileInfo::exists(skinFile)) return Fail(skinFile + " not found");

    QQuickView view;
    view.setResizeMode(QQuickView::SizeViewToRootObject);
    view.setColor(Qt::black);
    view.setSource(QUrl::fromLocalFile(QFileInfo(skinFile).absoluteFilePath()));
    if (view.status() != QQuickView::Ready || view.rootObject() == nullptr) {
        for (const QQmlError& error : view.errors()) {
            std::fprintf(stderr, "%s\n", qPrintable(error.toString()));
        }
        return Fail("the skin did not load");
    }
    QQuickItem* root = view.rootObject();
    if (root->metaObject()->indexOfSignal("fsCommand(QString,QString)") < 0) {
        std::fprintf(stderr, "skinshot: warning: the root declares no signal fsCommand(string, string)\n");
    }

    for (const QString& assignment : parser.values("set")) {
        const qsizetype eq = assignment.indexOf('=');
        if (eq < 0) return Fail("--set needs PATH=VALUE: " + assignment);
        const QVariant path = assignment.left(eq);
        const QVariant value = assignment.mid(eq + 1);
        if (!QMetaObject::invokeMethod(root, "setVariable", Q_ARG(QVariant, path),
                                       Q_ARG(QVariant, value))) {
            return Fail("the root has no function setVariable(path, value)");
        }
    }

    view.show();
    bool ok = false;
    const int wait = parser.value("wait").toInt(&ok);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < (ok ? wait : 600)) {
        app.processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }

    QImage image = view.grabWindow();
    if (image.isNull()) return Fail("nothing to grab");
    image = image.convertToFormat(QImage::Format_RGB32);
    if (parser.isSet("mock")) DrawMock(image);
    if (parser.isSet("slots")) DrawSlots(image);
    if (!image.save(outFile, "PNG")) return Fail("cannot write " + outFile);
    std::printf("%s: %dx%d\n", qPrintable(outFile), image.width(), image.height());
    return 0;
}
