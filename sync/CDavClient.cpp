#include "sync/CDavClient.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {
constexpr int kMaxRedirects = 5;
// A whole exchange may take this many timeouts, however steadily the answer trickles in.
constexpr int kWholeTimeouts = 4;
}

CDavClient::CDavClient(const QString& strUser, const QString& strPassword)
{
    if (!strUser.isEmpty())
        m_authorization = "Basic " + (strUser.toUtf8() + ':' + strPassword.toUtf8()).toBase64();
    m_net.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

void CDavClient::SetAcceptedFingerprint(const QString& strSha256)
{
    QString strHex = strSha256;
    strHex.remove(u':');
    m_acceptedSha256 = QByteArray::fromHex(strHex.toLatin1());
}

QString CDavClient::Fingerprint(const QByteArray& sha256)
{
    return QString::fromLatin1(sha256.toHex(':').toUpper());
}

bool CDavClient::Acceptable(QNetworkReply* pNet, const QList<QSslError>& errors, QString* pstrWhy) const
{
    const QSslCertificate cert = pNet->sslConfiguration().peerCertificate();
    const QByteArray sha256 = cert.digest(QCryptographicHash::Sha256);
    if (!m_acceptedSha256.isEmpty() && sha256 == m_acceptedSha256)
        return true;
    QStringList reasons;
    for (const QSslError& error : errors)
        reasons << error.errorString();
    reasons.removeDuplicates();
    *pstrWhy = QStringLiteral("the server's certificate is refused (%1); its SHA-256 fingerprint is %2")
                   .arg(reasons.join(QStringLiteral(", ")), Fingerprint(sha256));
    return false;
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
    // Qt Network reads no further ahead of us than one byte more than an answer may have,
    // so an answer over the size allowed is refused with no more than that in memory.
    pNet->setReadBufferSize(m_nMaxAnswerBytes + 1);
    QString strCertificate;
    QObject::connect(pNet, &QNetworkReply::sslErrors, pNet, [&](const QList<QSslError>& errors) {
        if (Acceptable(pNet, errors, &strCertificate))
            pNet->ignoreSslErrors();
    });
    const EEnd end = Wait(pNet);

    DavReply reply;
    reply.nStatus = pNet->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    reply.strEtag = QString::fromLatin1(pNet->rawHeader("ETag"));
    const QVariant location = pNet->header(QNetworkRequest::LocationHeader);
    reply.url = location.isValid() ? url.resolved(location.toUrl()) : url;
    const QString strSeconds = QString::number((m_nTimeoutMs + 999) / 1000);
    if (!strCertificate.isEmpty()) {
        reply.strError = QStringLiteral("%1: %2").arg(Shown(url), strCertificate);
    } else if (end == EEnd::TooLarge) {
        reply.strError = QStringLiteral("%1: the answer is larger than %2 MB; refused")
                             .arg(Shown(url)).arg(m_nMaxAnswerBytes / (1024 * 1024));
    } else if (end == EEnd::Silent) {
        reply.strError = QStringLiteral("%1: no answer within %2 s").arg(Shown(url), strSeconds);
    } else if (end == EEnd::TooLong) {
        reply.strError = QStringLiteral("%1: the answer did not end within %2 s")
                             .arg(Shown(url)).arg(m_nTimeoutMs * kWholeTimeouts / 1000);
    } else {
        reply.body = pNet->readAll();
        // A length is the body's own only where the body was not compressed.
        const QVariant length = pNet->header(QNetworkRequest::ContentLengthHeader);
        const bool bShort = length.isValid() && !pNet->hasRawHeader("Content-Encoding")
                            && reply.body.size() < length.toLongLong();
        const bool bCut = pNet->error() == QNetworkReply::RemoteHostClosedError
                          || (reply.nStatus != 0 && reply.nStatus < 400 && pNet->error() != QNetworkReply::NoError)
                          || bShort;
        if (bCut)
            reply.strError = QStringLiteral("%1: the connection was cut before the whole answer came").arg(Shown(url));
        else if (reply.nStatus == 0)
            reply.strError = QStringLiteral("%1: no answer (%2)").arg(Shown(url), pNet->errorString());
        else if (reply.nStatus >= 400)
            reply.strError = QStringLiteral("%1: %2 %3").arg(Shown(url)).arg(reply.nStatus)
                                 .arg(StatusText(reply.nStatus));
    }
    if (!reply.strError.isEmpty() && reply.nStatus < 400) {
        reply.nStatus = 0;   // no usable answer: as if none came
        reply.body.clear();
    }
    pNet->deleteLater();
    return reply;
}

// Waits for the reply in a local event loop. It ends early, aborted, when the server is
// silent for the timeout, when the whole exchange takes several timeouts, or when the
// answer says or proves to be larger than allowed.
CDavClient::EEnd CDavClient::Wait(QNetworkReply* pNet)
{
    EEnd end = EEnd::Done;
    QEventLoop loop;
    QTimer silence;
    silence.setSingleShot(true);
    const auto stop = [&](EEnd why) {
        if (end != EEnd::Done)
            return;
        end = why;
        pNet->abort();
    };
    QObject::connect(&silence, &QTimer::timeout, &loop, [&] { stop(EEnd::Silent); });
    const auto heard = [&] { silence.start(m_nTimeoutMs); };
    QObject::connect(pNet, &QNetworkReply::uploadProgress, &loop, heard);
    QObject::connect(pNet, &QNetworkReply::metaDataChanged, &loop, [&] {
        heard();
        if (pNet->header(QNetworkRequest::ContentLengthHeader).toLongLong() > m_nMaxAnswerBytes)
            stop(EEnd::TooLarge);
    });
    QObject::connect(pNet, &QNetworkReply::downloadProgress, &loop, heard);
    QObject::connect(pNet, &QIODevice::readyRead, &loop, [&] {
        if (pNet->bytesAvailable() > m_nMaxAnswerBytes)
            stop(EEnd::TooLarge);
    });
    QObject::connect(pNet, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer whole;
    whole.setSingleShot(true);
    QObject::connect(&whole, &QTimer::timeout, &loop, [&] { stop(EEnd::TooLong); });
    whole.start(m_nTimeoutMs * kWholeTimeouts);
    heard();
    if (!pNet->isFinished())
        loop.exec();
    return end;
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
