// The desktop portal's OpenURI.OpenFile: the file given by a handle, the answer awaited on the request object.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/portal.h"

#include "platform/opencopies.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QObject>
#include <QRandomGenerator>
#include <QVariantMap>

#include <utility>

namespace tazen {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kObject = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kOpenUri = QStringLiteral("org.freedesktop.portal.OpenURI");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

// The portal's responses: done, closed by the user; anything else ended it another way.
constexpr uint kResponseSuccess = 0;
constexpr uint kResponseCancelled = 1;

// The portal answers on a request object it names after the caller's bus name and a token of the caller's,
// so the answer can be listened for before asking and one that comes at once is not missed.
QString requestPath(const QDBusConnection& bus, const QString& token)
{
    QString sender = bus.baseService();
    if (sender.startsWith(QLatin1Char(':')))
        sender.remove(0, 1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return kObject + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

// One request: listens for its Response and tells the answer once, then goes.
class PortalRequest : public QObject
{
    Q_OBJECT

public:
    PortalRequest(QDBusConnection bus, std::function<void(PortalAnswer)> answered)
        : bus_(std::move(bus)), answered_(std::move(answered))
    {
    }

    void Listen(const QString& path)
    {
        if (path == path_)
            return;
        stopListening();
        path_ = path;
        // QtDBus connects signals by their signature only.
        bus_.connect(kService, path_, kRequest, QStringLiteral("Response"), this,
                     SLOT(Response(uint, QVariantMap))); // NOLINT(readability-*)
    }

    void Answer(PortalAnswer answer)
    {
        if (!answered_)
            return;
        stopListening();
        std::exchange(answered_, nullptr)(answer);
        deleteLater();
    }

    // Answers from the event loop, as the portal's own answers come.
    void AnswerLater(PortalAnswer answer)
    {
        QMetaObject::invokeMethod(
            this, [this, answer] { Answer(answer); }, Qt::QueuedConnection);
    }

public Q_SLOTS:
    void Response(uint response, const QVariantMap&)
    {
        Answer(response == kResponseSuccess     ? PortalAnswer::Opened
               : response == kResponseCancelled ? PortalAnswer::Declined
                                                : PortalAnswer::Unavailable);
    }

private:
    void stopListening()
    {
        if (!path_.isEmpty())
            bus_.disconnect(kService, path_, kRequest, QStringLiteral("Response"), this,
                            SLOT(Response(uint, QVariantMap)));
        path_.clear();
    }

    QDBusConnection bus_;
    QString path_;
    std::function<void(PortalAnswer)> answered_;
};

} // namespace

void OpenThroughPortal(const QDBusConnection& bus, const QString& parentWindow, const QString& path,
                       std::function<void(PortalAnswer)> answered)
{
    auto* request = new PortalRequest(bus, std::move(answered)); // goes once it has answered
    platform::Descriptor handle;
    if (!bus.isConnected() || !(bus.connectionCapabilities() & QDBusConnection::UnixFileDescriptorPassing) ||
        platform::OpenPathHandle(QFile::encodeName(path).toStdString(), handle) != 0)
        return request->AnswerLater(PortalAnswer::Unavailable);

    const QString token =
        QStringLiteral("tazen%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    request->Listen(requestPath(bus, token));
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kObject, kOpenUri, QStringLiteral("OpenFile"));
    // Writable, so an application in a sandbox is let save the copy, which is the point of opening it.
    call << parentWindow << QVariant::fromValue(QDBusUnixFileDescriptor(handle.Get()))
         << QVariantMap{{QStringLiteral("handle_token"), token}, {QStringLiteral("writable"), true}};
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), request);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, request, [request](QDBusPendingCallWatcher* done) {
        const QDBusPendingReply<QDBusObjectPath> reply = *done;
        done->deleteLater();
        // No portal on the bus, or one without OpenURI, or one that refused the handle.
        if (reply.isError())
            return request->Answer(PortalAnswer::Unavailable);
        // A portal older than request tokens names the request its own way.
        request->Listen(reply.value().path());
    });
}

} // namespace tazen

#include "portal.moc"
