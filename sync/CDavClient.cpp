#include "sync/CDavClient.h"

#include <QBuffer>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {
constexpr int kMaxRedirects = 5;
}

CDavClient::CDavClient(const QString& strUser, const QString& strPassword)
{
    if (!strUser.isEmpty())
        m_authorization = "Basic " + (strUser.toUtf8() + ':' + strPassword.toUtf8()).toBase64();
    m_net.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

QString CDavClient::Shown(const QUrl& url)
{
    return url.toDisplayString(QUrl::RemoveUserInfo);
}

DavReply CDavClient::Send(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                          const QList<std::pair<QByteArray, QByteArray>>& extraHeaders)
{
    QUrl target = url;
    for (int nHop = 0;; ++nHop) {
        DavReply reply = SendOnce(verb, target, body, extraHeaders);
        const bool bRedirect = reply.nStatus == 301 || reply.nStatus == 302
                               || reply.nStatus == 303 || reply.nStatus == 307 || reply.nStatus == 308;
        if (!bRedirect || !reply.url.isValid())
            return reply;
        if (reply.url.host() != url.host() || reply.url.port() != url.port()
            || reply.url.scheme() != url.scheme()) {
            reply.strError = QStringLiteral("%1 redirects to another host (%2); not followed")
                                 .arg(Shown(target), Shown(reply.url));
            return reply;
        }
        if (nHop + 1 >= kMaxRedirects) {
            reply.strError = QStringLiteral("%1: too many redirects").arg(Shown(url));
            return reply;
        }
        target = reply.url;
    }
}

DavMultistatus CDavClient::Multistatus(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                                       const QByteArray& depth, QUrl* pFrom)
{
    const DavReply reply = Send(verb, url, body, {{"Depth", depth}});
    if (pFrom != nullptr)
        *pFrom = reply.url;
    if (!reply.Ok()) {
        DavMultistatus ms;
        ms.strError = reply.strError.isEmpty() ? QStringLiteral("%1: %2").arg(Shown(url)).arg(reply.nStatus)
                                               : reply.strError;
        return ms;
    }
    DavMultistatus ms = CDavXml::ReadMultistatus(reply.body);
    if (!ms.strError.isEmpty())
        ms.strError = QStringLiteral("%1: %2").arg(Shown(url), ms.strError);
    return ms;
}

DavReply CDavClient::SendOnce(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                              const QList<std::pair<QByteArray, QByteArray>>& extraHeaders)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(m_nTimeoutMs);
    if (!m_authorization.isEmpty())
        request.setRawHeader("Authorization", m_authorization);
    if (!body.isEmpty()) {
        const bool bXml = body.startsWith("<?xml");
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          bXml ? QByteArray("application/xml; charset=utf-8")
                               : QByteArray("text/calendar; charset=utf-8"));
    }
    for (const auto& [name, value] : extraHeaders)
        request.setRawHeader(name, value);

    QBuffer buffer;
    buffer.setData(body);
    buffer.open(QIODevice::ReadOnly);
    QNetworkReply* pNet = m_net.sendCustomRequest(request, verb, &buffer);

    DavReply reply;
    QEventLoop loop;
    bool bTooLarge = false;
    QObject::connect(pNet, &QNetworkReply::downloadProgress, &loop, [&](qint64 nReceived, qint64) {
        if (nReceived > m_nMaxAnswerBytes && !bTooLarge) {
            bTooLarge = true;
            pNet->abort();
        }
    });
    QObject::connect(pNet, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // Beyond the transfer timeout (which counts silence), a whole request has a hard end.
    QTimer::singleShot(m_nTimeoutMs * 4, &loop, [&] { pNet->abort(); });
    if (!pNet->isFinished())
        loop.exec();

    reply.nStatus = pNet->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    reply.strEtag = QString::fromLatin1(pNet->rawHeader("ETag"));
    const QVariant location = pNet->header(QNetworkRequest::LocationHeader);
    reply.url = location.isValid() ? url.resolved(location.toUrl()) : url;
    if (bTooLarge) {
        reply.nStatus = 0;
        reply.strError = QStringLiteral("%1: the answer is larger than %2 MB; refused")
                             .arg(Shown(url)).arg(m_nMaxAnswerBytes / (1024 * 1024));
    } else if (reply.nStatus == 0) {
        reply.strError = QStringLiteral("%1: no answer (%2)").arg(Shown(url), pNet->errorString());
    } else {
        reply.body = pNet->readAll();
        if (reply.nStatus >= 400)
            reply.strError = QStringLiteral("%1: %2 %3").arg(Shown(url)).arg(reply.nStatus)
                                 .arg(StatusText(reply.nStatus));
    }
    pNet->deleteLater();
    return reply;
}

QString CDavClient::StatusText(int nStatus)
{
    switch (nStatus) {
    case 401: return QStringLiteral("the user name or password was refused");
    case 403: return QStringLiteral("access forbidden");
    case 404: return QStringLiteral("not found");
    case 412: return QStringLiteral("changed on the server meanwhile");
    default: break;
    }
    if (nStatus >= 500)
        return QStringLiteral("server error, try again later");
    return QStringLiteral("refused");
}
