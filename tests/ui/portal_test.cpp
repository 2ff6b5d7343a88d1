// The desktop portal's OpenURI as TaZEN asks it, against a stand-in portal on a message bus of the test's own.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/portal.h"

#include "common/tempdir.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTimer>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <fstream>
#include <optional>

namespace tazen {
namespace {

// Answers OpenFile as the portal does: a request object named from the caller and its token, and the
// Response on it once the call has returned.
class StandInPortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.OpenURI")

public:
    StandInPortal(QDBusConnection bus, uint response) : bus_(std::move(bus)), response_(response) {}

    std::string file;
    bool pathHandle = false;
    bool writable = false;
    QString parent;

public Q_SLOTS:
    QDBusObjectPath OpenFile(const QString& parentWindow, const QDBusUnixFileDescriptor& fd, const QVariantMap& options,
                             const QDBusMessage& message)
    {
        parent = parentWindow;
        std::array<char, 4096> target{};
        const std::string link = "/proc/self/fd/" + std::to_string(fd.fileDescriptor());
        const ssize_t length = ::readlink(link.c_str(), target.data(), target.size() - 1);
        file = length > 0 ? std::string(target.data(), static_cast<size_t>(length)) : std::string();
        // The portal takes only O_PATH handles, and refuses those opened with O_NOFOLLOW.
        const int flags = ::fcntl(fd.fileDescriptor(), F_GETFL);
        pathHandle = (flags & O_PATH) == O_PATH && (flags & O_NOFOLLOW) == 0;
        writable = options.value(QStringLiteral("writable")).toBool();
        QString sender = message.service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender + QLatin1Char('/') +
                                options.value(QStringLiteral("handle_token")).toString();
        QTimer::singleShot(0, this, [this, request] {
            QDBusMessage response = QDBusMessage::createSignal(
                request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            response << response_ << QVariantMap();
            bus_.send(response);
        });
        return QDBusObjectPath(request);
    }

private:
    QDBusConnection bus_;
    uint response_;
};

class Portal : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::ofstream(dir / "bus.conf") << "<busconfig><type>session</type><listen>unix:dir=" << dir.path()
                                        << "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                                           "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                                           "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>";
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                      QStringLiteral("--config-file=") + QString::fromStdString(dir / "bus.conf")});
        ASSERT_TRUE(daemon.waitForStarted(10'000)) << "dbus-daemon (install-deps installs it)";
        ASSERT_TRUE(daemon.waitForReadyRead(10'000));
        address = QString::fromUtf8(daemon.readLine().trimmed());
        test::writeFile(dir / "notes.txt", "notes");
    }

    void TearDown() override
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("tazen-test-caller"));
        QDBusConnection::disconnectFromBus(QStringLiteral("tazen-test-portal"));
        daemon.kill();
        daemon.waitForFinished(10'000);
    }

    QDBusConnection connect(const QString& name) const { return QDBusConnection::connectToBus(address, name); }

    std::optional<PortalAnswer> ask(const QDBusConnection& caller)
    {
        std::optional<PortalAnswer> answer;
        OpenThroughPortal(caller, QStringLiteral("x11:2a"), QString::fromStdString(dir / "notes.txt"),
                          [&](PortalAnswer given) { answer = given; });
        EXPECT_FALSE(answer) << "answered before the question returned";
        for (QDeadlineTimer limit(20'000); !answer && !limit.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        return answer;
    }

    test::TempDir dir;
    QProcess daemon;
    QString address;
};

TEST_F(Portal, TheFileGoesAsAPathHandleToBeWrittenAndTheResponseDecides)
{
    const struct
    {
        uint response;
        PortalAnswer answer;
    } cases[] = {{0, PortalAnswer::Opened}, {1, PortalAnswer::Declined}, {2, PortalAnswer::Unavailable}};
    for (const auto& each : cases) {
        QDBusConnection portalBus = connect(QStringLiteral("tazen-test-portal"));
        StandInPortal portal(portalBus, each.response);
        ASSERT_TRUE(portalBus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                                             QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(portalBus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));

        EXPECT_EQ(ask(connect(QStringLiteral("tazen-test-caller"))), each.answer) << each.response;
        EXPECT_EQ(portal.file, dir / "notes.txt");
        EXPECT_TRUE(portal.pathHandle) << "a handle the portal takes";
        EXPECT_TRUE(portal.writable) << "an application in a sandbox may save it";
        EXPECT_EQ(portal.parent, QStringLiteral("x11:2a"));

        portalBus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
        portalBus.unregisterObject(QStringLiteral("/org/freedesktop/portal/desktop"));
        QDBusConnection::disconnectFromBus(QStringLiteral("tazen-test-caller"));
        QDBusConnection::disconnectFromBus(QStringLiteral("tazen-test-portal"));
    }
}

TEST_F(Portal, NoPortalOnTheBusIsUnavailableSoAnotherOpenerIsAsked)
{
    EXPECT_EQ(ask(connect(QStringLiteral("tazen-test-caller"))), PortalAnswer::Unavailable);
    EXPECT_EQ(ask(QDBusConnection(QStringLiteral("not connected"))), PortalAnswer::Unavailable);
}

} // namespace
} // namespace tazen

#include "portal_test.moc"
