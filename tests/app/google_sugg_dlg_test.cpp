#include "net/downloader.h"
#include "parsers/picture_code_prompt.h"
#include "projects/kind1/project1_google_sugg_dlg.h"
#include "skin/skin_constants.h"
#include "tests/app/app_test_support.h"
#include "tests/support/modal_script.h"
#include "tests/support/skin_test_support.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A finished downloader whose reply bytes are body, as a picture fetch leaves it.
std::unique_ptr<CDownloader> PictureReply(const QByteArray& body) {
    auto downloader = std::make_unique<CDownloader>(-1);
    downloader->ProcessResponse("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n\r\n" + body,
                                CDownloader::kRequestGet, u"http://127.0.0.1/select/KeywordToolCaptcha"_s);
    return downloader;
}

QByteArray Jpeg(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.setFont(QFont(u"Liberation Sans"_s, height / 2));
    painter.drawText(image.rect(), Qt::AlignCenter, u"x7k2"_s);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 100);
    return bytes;
}

bool NearPicture(plat::ColorRef c) {
    return std::abs(int(c & 0xFF) - 200) < 12 && ((c >> 8) & 0xFF) < 45 && ((c >> 16) & 0xFF) < 45;
}

using skintest::ClickElement;

TEST(GoogleSuggDlg, PictureShownAndTheTypedCodeAnswered) {
    // Wider than the picture area: scaled down into it.
    const auto reply = PictureReply(Jpeg(400, 80));
    CProject1_GoogleSuggDlg dialog(nullptr, *reply);
    dialog.onInitDialog();
    dialog.RedrawNow();
    const plat::DeviceContext& dc = skin::HostWindow(dialog).backBuffer();
    QDir().mkpath(QStringLiteral(TW_APP_RENDER_DIR));
    ASSERT_TRUE(dc.saveImage(QStringLiteral(TW_APP_RENDER_DIR) + u"/picture_code_prompt.png"_s));
    const plat::Rect area = dialog.PictureArea();
    EXPECT_FALSE(dialog.m_pictureFailed);
    EXPECT_TRUE(NearPicture(dc.getPixel(area.left + 2, (area.top + area.bottom) / 2)));
    EXPECT_FALSE(NearPicture(dc.getPixel(area.left + 2, area.top + 2)));

    dialog.m_codeEdit.SetText(u" x7k2 "_s);
    ClickElement(dialog, dialog.m_okButton);
    EXPECT_EQ(dialog.Result(), skin::kResultOk);
    EXPECT_EQ(dialog.m_answer, u"x7k2"_s);
}

TEST(GoogleSuggDlg, BrokenPictureLeavesTheAreaBlankAndStillAsksAnew) {
    const auto reply = PictureReply("<html>not a picture</html>");
    CProject1_GoogleSuggDlg retry(nullptr, *reply);
    retry.onInitDialog();
    retry.RedrawNow();
    EXPECT_TRUE(retry.m_pictureFailed);
    const plat::Rect area = retry.PictureArea();
    EXPECT_EQ(skin::HostWindow(retry).backBuffer().getPixel((area.left + area.right) / 2,
                                                            (area.top + area.bottom) / 2),
              plat::Rgb(255, 255, 255));
    ClickElement(retry, retry.m_newPictureButton);
    EXPECT_EQ(retry.Result(), skin::kResultOk);
    EXPECT_EQ(retry.m_answer, QString::fromUtf16(kPictureCodeRetry));

    CProject1_GoogleSuggDlg cancel(nullptr, *reply);
    cancel.onInitDialog();
    ClickElement(cancel, cancel.m_cancelButton);
    EXPECT_EQ(cancel.Result(), skin::kResultCancel);
}

// Installed as the keyword tool's prompt, the dialog runs modally and hands back the code typed into it.
TEST(GoogleSuggDlg, InstalledAsThePromptRunsModally) {
    InstallGoogleSuggPrompt();
    skintest::ModalScript hook([](CSkinDlg_Base& window) {
        auto& dialog = dynamic_cast<CProject1_GoogleSuggDlg&>(window);
        dialog.m_codeEdit.SetText(u"q9"_s);
        ClickElement(dialog, dialog.m_okButton);
    });
    const auto reply = PictureReply(Jpeg(120, 40));
    QString answer;
    EXPECT_EQ(RunPictureCodePrompt(nullptr, *reply, answer), kPictureCodeOk);
    EXPECT_EQ(answer, u"q9"_s);
    InstallPictureCodePrompt({});
}

} // namespace
