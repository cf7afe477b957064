#pragma once
#include "sync/CDavXml.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QString>
#include <QUrl>

class QNetworkReply;
class QSslError;

// The outcome of one HTTP exchange. nStatus is 0 when no answer came (strError says why).
struct DavReply
{
    int nStatus = 0;
    QByteArray body;
    QString strEtag;
    QString strError;          // never holds credentials
    QUrl url;                  // where the answer came from, after redirects
    bool Ok() const { return nStatus / 100 == 2 && strError.isEmpty(); }
};

// HTTP for WebDAV on Qt Network, one request at a time, waited for in a local event loop
// (call it from a thread that is not the window's). Every request is bounded in time (the
// timeout counts the server's silence) and in answer size; redirects are followed within the same host, a few times at most.
class CDavClient
{
public:
    CDavClient(const QString& strUser, const QString& strPassword);

    void SetTimeoutMs(int nMs) { m_nTimeoutMs = nMs; }
    void SetMaxAnswerBytes(qint64 nBytes) { m_nMaxAnswerBytes = nBytes; }
    // Accepts the server certificate whose SHA-256 fingerprint this is (hex digits, colons
    // and case as written), also where the system does not trust it: a self-signed server.
    void SetAcceptedFingerprint(const QString& strSha256);
    // The fingerprint as SetAcceptedFingerprint takes it and a refusal shows it: AB:CD:...
    static QString Fingerprint(const QByteArray& sha256);

    // extraHeaders: name and value pairs (Depth, If-Match, If-None-Match).
    DavReply Send(const QByteArray& verb, const QUrl& url, const QByteArray& body = {},
                  const QList<std::pair<QByteArray, QByteArray>>& extraHeaders = {});

    // A request whose answer must be a multistatus; its strError tells of a refused
    // request or an unreadable answer. *pFrom (may be null) is where it came from.
    DavMultistatus Multistatus(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                               const QByteArray& depth, QUrl* pFrom = nullptr);

    // The URL as a message may show it: no user name or password.
    static QString Shown(const QUrl& url);

private:
    enum class EEnd { Done, Silent, TooLong, TooLarge };
    DavReply SendOnce(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                      const QList<std::pair<QByteArray, QByteArray>>& extraHeaders);
    EEnd Wait(QNetworkReply* pNet);
    // Whether the certificate errors are only about a certificate that is the accepted one;
    // else *pstrWhy says what is wrong, with the certificate's fingerprint.
    bool Acceptable(QNetworkReply* pNet, const QList<QSslError>& errors, QString* pstrWhy) const;
    static QString StatusText(int nStatus);

    QNetworkAccessManager m_net;
    QByteArray m_authorization;
    QByteArray m_acceptedSha256;
    int m_nTimeoutMs = 30000;
    qint64 m_nMaxAnswerBytes = 64 * 1024 * 1024;
};
