#pragma once

#include <Linkette.h>

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace linkette::test {

inline const QString kUrl = QStringLiteral("https://folionix.example/");

// A shown window hosting one control, with the URL opener replaced by a recorder. Every event of
// the control and every opening lands in one log, so tests can check the order.
class LinketteFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Linkette::setUrlOpener([this](const QString& url) {
            log.push_back("open " + url.toStdString());
            return openerSucceeds;
        });
        host = std::make_unique<QWidget>();
        host->resize(320, 120);
        link = new Linkette(host.get());
        link->move(20, 20);
        link->setCaption(QStringLiteral("Visit the web site"));
        link->setURL(kUrl);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        parkPointer();
        record(link);
    }

    void TearDown() override
    {
        host.reset();
        Linkette::setUrlOpener({});
    }

    void record(Linkette* control)
    {
        QObject::connect(control, &Linkette::Click, [this] { log.push_back("Click"); });
        QObject::connect(control, qOverload<bool&>(&Linkette::HyperJump), [this](bool& cancel) {
            log.push_back("HyperJump");
            cancel = cancelJump;
        });
        QObject::connect(control, &Linkette::Change, [this] { log.push_back("Change"); });
        QObject::connect(control, &Linkette::Resize, [this] { log.push_back("Resize"); });
        QObject::connect(control, &Linkette::PropertyChanged, [this](const QString& name) {
            log.push_back("PropertyChanged " + name.toStdString());
        });
    }

    void pointAtText() { QTest::mouseMove(link, link->rect().center()); }
    // Somewhere on the window but well away from the control.
    void parkPointer() { QTest::mouseMove(host.get(), QPoint(host->width() - 5, host->height() - 5)); }

    QLabel* label() const { return link->findChild<QLabel*>(QStringLiteral("Label1")); }
    QLabel* image() const { return link->findChild<QLabel*>(QStringLiteral("Image1")); }
    QColor textColour() const { return label()->palette().color(QPalette::WindowText); }
    bool underlined() const { return label()->font().underline(); }

    std::unique_ptr<QWidget> host;
    Linkette* link = nullptr;
    std::vector<std::string> log;
    bool openerSucceeds = true;
    bool cancelJump = false;
};

} // namespace linkette::test
