// Pictures of the window's five pages as a user sees them at the designed
// size: a bound list of tagged tracks, one of them playing, a shaped curve.
// The window is the real one; a stand-in decoder supplies the tracks, so the
// pictures are the same on every machine with the same fonts.
//   window_screenshots OUTPUT_FOLDER
#include "FakeDecoder.h"
#include "ScriptedDialogs.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace nuvo::test {
namespace {

struct Track {
    const char* file;
    const char* title;
    const char* artist;
    int seconds;
};

constexpr Track kTracks[] = {
    {"01 Morning Light.mp3", "Morning Light", "The Quiet Hours", 245},
    {"02 Harbour Lights.mp3", "Harbour Lights", "The Quiet Hours", 312},
    {"03 Slow River.mp3", "Slow River", "Anna Berg", 198},
    {"04 Paper Kites.mp3", "Paper Kites", "Anna Berg", 276},
    {"05 Night Train to Lyon.mp3", "Night Train to Lyon", "Marco Vidal", 3599},
    {"06 Last Call.mp3", "Last Call", "Marco Vidal", 187},
};

void copyField(char* field, std::size_t size, const char* text)
{
    std::snprintf(field, size, "%s", text);
}

FakeTrack fakeTrack(const Track& track)
{
    FakeTrack fake;
    fake.title = track.title;
    fake.seconds = track.seconds;
    fake.fileType = 2 | 16;
    fake.bitRate = 320;
    copyField(fake.tag.title, sizeof fake.tag.title, track.title);
    copyField(fake.tag.artist, sizeof fake.tag.artist, track.artist);
    copyField(fake.tag.album, sizeof fake.tag.album, "Evening Songs");
    copyField(fake.tag.year, sizeof fake.tag.year, "2024");
    copyField(fake.tag.comment, sizeof fake.tag.comment, "Recorded live");
    fake.tag.genre = 13;
    copyField(fake.tag.genreName, sizeof fake.tag.genreName, "Pop");
    fake.mpeg.version = 1;
    fake.mpeg.layer = 3;
    fake.mpeg.mode = 1;
    fake.mpeg.sampleRate = 44100;
    fake.mpeg.fileSize = track.seconds * 40000;
    fake.mpeg.frames = track.seconds * 44100 / 1152;
    fake.mpeg.seconds = track.seconds;
    return fake;
}

void press(QWidget* target, QEvent::Type type, QPoint at)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// A gentle smile of a curve, drawn with the pointer as a user would.
void shapeCurve(QWidget* image)
{
    const int values[] = {40, 25, 5, -10, -20, -15, 0, 20, 35, 45};
    for (int band = 0; band < 10; ++band) {
        const QPoint at(values[band] + 120, 4 + 17 * band + 8);
        press(image, QEvent::MouseButtonPress, at);
        press(image, QEvent::MouseButtonRelease, at);
    }
}

int run(const QString& output)
{
    QTemporaryDir home;
    if (!home.isValid() || !QDir().mkpath(output)) {
        std::fprintf(stderr, "window_screenshots: cannot write to %s\n", qPrintable(output));
        return 1;
    }
    qputenv("NUVO_HOME", home.path().toLocal8Bit());
    FakeDecoder& fake = FakeDecoder::reset();
    ScriptedDialogs answers;
    installDialogs(&answers);

    // The tracks lie at one fixed place, so the pictures are the same at every run.
    QDir music(QDir::temp().filePath(QStringLiteral("nuvo-screenshots/Music")));
    music.mkpath(QStringLiteral("."));
    const auto removeMusic = qScopeGuard([&] { QDir(music.filePath(QStringLiteral(".."))).removeRecursively(); });
    QByteArray list;
    for (const Track& track : kTracks) {
        const QString path = music.filePath(QString::fromUtf8(track.file));
        QFile(path).open(QIODevice::WriteOnly);
        fake.tracks[path.toStdString()] = fakeTrack(track);
        list += QByteArray(track.file) + "\r\n";
    }
    const QString listPath = music.filePath(QStringLiteral("Songs.m3u"));
    QFile listFile(listPath);
    listFile.open(QIODevice::WriteOnly);
    listFile.write(list);
    listFile.close();

    DecoderBinding decoder;
    decoder.api = FakeDecoder::api();
    decoder.loaded = true;
    MainWindow window(std::move(decoder), StartupContext{home.path(), {}, home.path()});
    window.show();
    QTest::qWait(50);

    answers.fileAnswers.push_back({{listPath}, QString()});
    window.findChild<QAction*>(QStringLiteral("OpenList"))->trigger();
    window.findChild<QAction*>(QStringLiteral("Play"))->trigger();
    fake.position = 83;
    QTest::qWait(250);
    shapeCurve(window.findChild<QWidget*>(QStringLiteral("Image1")));

    auto* pages = window.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    int failures = 0;
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        QTest::qWait(50);
        const QString file = QDir(output).filePath(pages->tabText(page).toLower() + QStringLiteral(".png"));
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "window_screenshots: cannot write %s\n", qPrintable(file));
            ++failures;
        }
    }
    window.close();
    installDialogs(nullptr);
    return failures == 0 ? 0 : 1;
}

} // namespace
} // namespace nuvo::test

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    return nuvo::test::run(QString::fromLocal8Bit(argv[1]));
}
