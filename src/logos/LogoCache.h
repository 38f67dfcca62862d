#pragma once
// Channel logos for the rows on screen. A view asks for the logo of a row it paints; the
// first ask looks in the logo folder on a worker and, when the folder has none, downloads
// it (at most a few at a time, the newest asks first, with the safety of playlist
// downloads and a small size cap). Answered tells the views to paint again. Logos are kept
// in memory within a bound, each scaled once to the height a view asked for.

#include "BackgroundWork.h"
#include "LogoFolder.h"

#include <QCache>
#include <QHash>
#include <QImage>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QStringList>

#include <memory>

class LogoCache : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMaxDownloads = 4;
    static constexpr qint64 kMaxLogoBytes = 1024 * 1024;

    explicit LogoCache(const QString& folder = LogoFolder::DefaultPath(),
                       qint64 maxFolderBytes = LogoFolder::kDefaultMaxBytes, QObject* parent = nullptr);
    ~LogoCache() override;

    // The logo at address scaled to height, or a null pixmap while there is none (yet):
    // then it is asked for, unless it failed within a day. Only http and https addresses.
    QPixmap Logo(const QString& address, int height);
    // The stored file of a logo had before; empty while there is none.
    QString StoredFile(const QString& address) const;

    // The viewer's bound of the folder, and its emptying; the logos shown are asked again.
    void SetMaxFolderBytes(qint64 bytes);
    void Empty();

    // Downloads give up after this long; tests shorten it.
    void SetDownloadTimeout(int milliseconds) { downloadTimeoutMs = milliseconds; }

signals:
    // An ask is answered: the logo is there now, or cannot be had.
    void Answered(const QString& address);

private:
    void Ask(const QString& address);
    void Found(const QString& address, const LogoFolder::Found& found);
    void StartDownloads();
    void Downloaded(const QString& address, const QByteArray& body, bool ok);
    void Decoded(const QString& address, const QImage& image);

    std::shared_ptr<LogoFolder> folder; // used on the worker only, once made
    QCache<QString, QImage> images;     // by address, as stored
    QCache<QString, QPixmap> scaled;    // by height and address
    QSet<QString> asked;                // looked up, queued or downloading
    QHash<QString, qint64> failed;      // when, this session; the folder remembers them too
    QStringList queue;                  // waiting for a download, the newest last
    QHash<QString, QString> stored;     // address to the stored file, once had
    int downloading = 0;
    int downloadTimeoutMs;
    QNetworkAccessManager network;
    BackgroundWork worker{this}; // last: gone first, so no result lands on a half-gone cache
};
