// Writes the embedded pictures, icons and sounds, and the Windows installer's picture, into the directory
// named on the command line.
// Every run produces the same bytes.

#include "BoardBitmap.h"
#include "IconFile.h"
#include "ImageBytes.h"
#include "InstallerPicture.h"
#include "LauncherIcon.h"
#include "SoundSynth.h"
#include "SplashBanner.h"
#include "WaveFile.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <array>
#include <vector>

namespace {

bool write_file(const QDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        QTextStream(stderr) << "cannot write " << file.fileName() << '\n';
        return false;
    }
    QTextStream(stdout) << name << ": " << bytes.size() << " bytes\n";
    return true;
}

// The launcher icon's sizes in the desktop's icon theme. At 32 pixels it is the window icon itself,
// so the menu entry and the running window show the same picture.
constexpr std::array<int, 7> kLauncherSizes{16, 24, 32, 48, 64, 128, 256};

QImage launcher_image(int size)
{
    return size == 32 ? IconFile::to_image(icon_art::kDart) : LauncherIcon::render(size);
}

// Each size as a PNG for the icon theme, and all of them in one icon file for the Windows executable.
bool write_launcher_icons(const QDir &dir)
{
    if (!dir.mkpath("launcher"))
        return false;
    std::vector<QImage> images;
    for (const int size : kLauncherSizes) {
        images.push_back(launcher_image(size));
        if (!write_file(dir, QString("launcher/ochreline-%1.png").arg(size), image_bytes(images.back(), "png")))
            return false;
    }
    return write_file(dir, "launcher/ochreline.svg", LauncherIcon::svg())
           && write_file(dir, "ochreline.ico", IconFile::encode_true_colour(images));
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: ochreline_resgen OUTPUT_DIR\n";
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    using namespace icon_art;
    // The "@2x" pictures are the same drawings at twice the size, for high-DPI screens.
    const bool ok = write_file(dir, "board.bmp", BoardBitmap::render(1).encode_bmp())
                    && write_file(dir, "board@2x.bmp", BoardBitmap::render(2).encode_bmp())
                    && write_file(dir, "splash.jpg", SplashBanner::encode_jpeg(SplashBanner::render(1)))
                    && write_file(dir, "splash@2x.jpg", SplashBanner::encode_jpeg(SplashBanner::render(2)))
                    && write_file(dir, "dart.ico", IconFile::encode({kDart}))
                    && write_file(dir, "dollar.ico", IconFile::encode({kDollar}))
                    && write_file(dir, "smiley.ico", IconFile::encode({kSmiley32, kSmiley16}))
                    && write_launcher_icons(dir) && write_file(dir, "HIT.wav", WaveFile::encode(SoundSynth::hit()))
                    && write_file(dir, "SHOTGUN.wav", WaveFile::encode(SoundSynth::shotgun()))
                    && write_file(dir, "EXPLOSION.wav", WaveFile::encode(SoundSynth::explosion()))
                    && write_file(dir, "installer.bmp", image_bytes(InstallerPicture::render(), "bmp"));
    return ok ? 0 : 1;
}
