// picturegen <output folder> [movieTitles.txt]
// Draws every compiled-in picture of the program into the output folder (normally
// catalog/data/pictures). The movie titles for the posters come from the generated catalogue
// table, by default the movieTitles.txt in the folder above the output folder.

#include "Draw.h"
#include "Pictures.h"

#include "text/Gbk.h"
#include "text/Text.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

using namespace picturegen;

namespace {

// The noPreview JPEG is padded to the byte size the program has always shipped it with.
constexpr qsizetype kNoPreviewBytes = 10913;

QStringList movieTitles(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    QStringList titles;
    for (const std::string &value : text::numberedListValues(std::string_view(bytes.constData(), bytes.size())))
        titles << QString::fromStdString(text::gbkToUtf8(value));
    return titles;
}

bool report(bool ok, const QString &path) {
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: picturegen <output folder> [movieTitles.txt]\n");
        return 2;
    }
    if (!QFontDatabase::families().contains(QStringLiteral("Noto Sans CJK SC"))) {
        std::fprintf(stderr, "picturegen: the font \"Noto Sans CJK SC\" is missing (fonts-noto-cjk)\n");
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString titlesPath = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                        : QDir::cleanPath(out.absoluteFilePath(QStringLiteral("../movieTitles.txt")));
    const QStringList titles = movieTitles(titlesPath);
    if (titles.size() != 18) {
        std::fprintf(stderr, "picturegen: expected 18 movie titles in %s, found %d\n", qPrintable(titlesPath),
                     int(titles.size()));
        return 1;
    }
    if (!out.mkpath(QStringLiteral("posters")))
        return 1;

    bool ok = true;
    auto png = [&](const QImage &image, const char *name) {
        const QString path = out.absoluteFilePath(QString::fromLatin1(name));
        ok = report(savePng(image, path), path) && ok;
    };
    auto jpeg = [&](const QImage &image, const QString &name, qsizetype padTo = 0) {
        const QString path = out.absoluteFilePath(name);
        ok = report(saveJpeg(image, path, 85, padTo), path) && ok;
    };

    png(logo(false), "logo.png");
    png(logo(true), "logo_hover.png");
    jpeg(noPreview(), QStringLiteral("no_preview.jpg"), kNoPreviewBytes);
    png(cross(false), "cross_light.png");
    png(cross(true), "cross_dark.png");
    png(appIcon(), "picture128.png");
    png(noResult(), "no_result.png");
    png(bannerLogo(), "banner_logo.png");
    png(magnifier(), "magnifier.png");
    png(posterOverlay(), "poster_overlay.png");
    png(playButton(false), "play_button.png");
    png(playButton(true), "play_button_hover.png");
    jpeg(aboutPicture(), QStringLiteral("about.jpg"));
    for (int n = 1; n <= 18; ++n)
        jpeg(poster(n, titles[n - 1], posterHeight(n)), QStringLiteral("posters/poster_%1.jpg").arg(n, 2, 10, QLatin1Char('0')));
    return ok ? 0 : 1;
}
