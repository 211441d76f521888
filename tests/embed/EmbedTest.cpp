#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <QWidget>

#include "PlayerSession.h"
#include "mci/mpv/MpvHandle.h"

namespace trelvane::testing {
namespace {

using namespace std::chrono_literals;

bool isBlack(QRgb pixel) {
    return qRed(pixel) < 24 && qGreen(pixel) < 24 && qBlue(pixel) < 24;
}
bool isWhite(QRgb pixel) {
    return qRed(pixel) > 230 && qGreen(pixel) > 230 && qBlue(pixel) > 230;
}

// What a person would see: the whole screen, taken by an outside program.
QImage screenshot(const QString& path) {
    QProcess import;
    import.start(QStringLiteral("import"),
                 {QStringLiteral("-window"), QStringLiteral("root"), path});
    if (!import.waitForFinished(30000) || import.exitCode() != 0) {
        return {};
    }
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

class VideoEmbeddingTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (qgetenv("DISPLAY").isEmpty()) {
            GTEST_SKIP() << "needs an X display";
        }
        m_window = std::make_unique<QWidget>();
        m_window->setFixedSize(400, 320);
        m_window->move(120, 90);
        m_window->setStyleSheet(QStringLiteral("background: white"));
        m_frame = new QFrame(m_window.get());
        m_frame->setGeometry(50, 40, 300, 220);
        m_frame->setStyleSheet(QStringLiteral("background: black"));
        // The player draws into this native window; its ancestors stay
        // ordinary widgets.
        m_frame->setAttribute(Qt::WA_DontCreateNativeAncestors);
        m_frame->setAttribute(Qt::WA_NativeWindow);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }

    QRect globalRect(const QWidget& widget) {
        return {widget.mapToGlobal(QPoint(0, 0)), widget.size()};
    }

    std::unique_ptr<QWidget> m_window;
    QFrame* m_frame = nullptr;
};

TEST_F(VideoEmbeddingTest, PictureIsDrawnInsideTheFrameAndNowhereElse) {
    PlayerSession session({"gpu,x11", "null"});
    const std::string open = "open \"" + mediaPath("ntsc60.vob") +
                             "\" type mpegvideo alias movie parent " +
                             std::to_string(m_frame->winId()) + " style child ";
    ASSERT_EQ(session.send(open).status, 0u);
    ASSERT_EQ(session.send("play movie").status, 0u);
    ASSERT_TRUE(waitUntil(
        [&] {
            QCoreApplication::processEvents();
            return session.number("status movie position") >= 1500;
        },
        20s));
    ASSERT_EQ(session.send("pause movie").status, 0u);

    const QString dir = QStringLiteral(TRELVANE_TEST_ARTIFACT_DIR);
    QDir().mkpath(dir);
    const QImage shot = screenshot(dir + QStringLiteral("/embedded-video.png"));
    ASSERT_FALSE(shot.isNull());

    // Measured against the window's own client area: a window manager's
    // border and title around it are neither the picture nor a stray.
    const QRect frame = globalRect(*m_frame);
    const QRect client = globalRect(*m_window);
    const QRect decorated = m_window->frameGeometry();
    int inside = 0;
    int colouredInside = 0;
    int strayOutside = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb pixel = shot.pixel(x, y);
            if (frame.contains(x, y)) {
                ++inside;
                colouredInside += isBlack(pixel) ? 0 : 1;
            } else if (client.contains(x, y)) {
                strayOutside += isWhite(pixel) ? 0 : 1;
            } else if (!decorated.contains(x, y)) {
                // The bare screen around the window stays black.
                strayOutside += isBlack(pixel) ? 0 : 1;
            }
        }
    }
    // The test pattern fills the frame but for thin bars that keep its aspect.
    EXPECT_GT(colouredInside, inside / 2);
    EXPECT_EQ(strayOutside, 0);
    EXPECT_EQ(session.send("close all").status, 0u);
}

TEST_F(VideoEmbeddingTest, AParentThatIsNoWindowIsRefusedWithoutHarm) {
    // The number of a window that existed and is gone: the likeliest stale
    // handle a caller could hand over.
    auto gone = std::make_unique<QWidget>();
    gone->setAttribute(Qt::WA_NativeWindow);
    const std::string handle = std::to_string(gone->winId());
    gone.reset();
    QCoreApplication::processEvents();

    PlayerSession session({"gpu,x11", "null"});
    const std::string open = "open \"" + mediaPath("ntsc60.vob") +
                             "\" type mpegvideo alias movie parent " + handle + " style child ";
    EXPECT_EQ(session.send(open).status, 346u);
    EXPECT_EQ(session.send("status movie mode").status, 263u);
    const std::string good = "open \"" + mediaPath("ntsc60.vob") +
                             "\" type mpegvideo alias movie parent " +
                             std::to_string(m_frame->winId()) + " style child ";
    EXPECT_EQ(session.send(good).status, 0u);
    EXPECT_EQ(session.send("close all").status, 0u);
}

}  // namespace
}  // namespace trelvane::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests) || qgetenv("DISPLAY").isEmpty()) {
        return RUN_ALL_TESTS();
    }
    QApplication app(argc, argv);
    trelvane::mci::useCoreNumberFormat();
    return RUN_ALL_TESTS();
}
