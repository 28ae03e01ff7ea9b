// VekVersionChecker: the update check and its panel. The check fetches the update list,
// compares the offered version with the running one and, when it is newer, shows the panel
// with the release notes. Downloading (with progress and cancel), checking the archive's
// SHA-256, unpacking and replacing the program's own files follow when the program is not
// in one of the system's folders; otherwise the panel offers the home page. An install whose
// list of files is missing or does not match keeps the download for the user instead. A
// successful install asks whether to restart, which starts the relaunch script and quits.
#pragma once

#include "app/updater/update_offer.h"

#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QNetworkAccessManager;

class QProgressBar;
class QPushButton;
class QTextBrowser;
class UpdateDownload;
class VekPreferences;

class VekVersionChecker : public QWidget {
    Q_OBJECT
public:
    static const QUrl &defaultUpdateListUrl();
    static const QUrl &homePageUrl();

    explicit VekVersionChecker(VekPreferences &preferences, QWidget *parent = nullptr);
    ~VekVersionChecker() override;

    // The update list's address: $VEKANTO_UPDATE_FEED, the preference "updateFeed" or the
    // default, as the checker was made.
    const QUrl &updateListUrl() const { return m_listUrl; }
    void setUpdateListUrl(const QUrl &url) { m_listUrl = url; }
    // The install prefix whose files are replaced (the running program's by default).
    void setInstallRoot(const QString &root) { m_installRoot = root; }
    // Where a download that cannot be installed is kept (the user's download folder by
    // default).
    void setKeptArchiveFolder(const QString &folder) { m_keptArchiveFolder = folder; }
    // What ends the program after an install (quitting by default).
    void setTerminator(std::function<void()> terminate) { m_terminate = std::move(terminate); }

    // The check on this thread; a check the user asked for reports every outcome, an
    // automatic one only a newer version.
    void checkNewVersion(bool userAsked);
    // The automatic check: the fetch on a thread of its own, the answer back on this one.
    void checkInBackground();
    // Whether the automatic check is due: "autoCheck" on and "nextDate" reached.
    bool automaticCheckIsDue();

    const std::optional<UpdateOffer> &offer() const { return m_offer; }
    QPushButton &downloadButton() const { return *m_downloadButton; }
    QWidget &progressWindow() const { return *m_progressWindow; }
    QLabel &progressMessage() const { return *m_progressMessage; }
    bool isDownloading() const { return m_download != nullptr; }

    // Downloads, checks, unpacks and installs the offered version; opens the home page
    // instead when the program cannot replace itself.
    void downloadNewVersion();
    // Stops a download and removes whatever it left.
    void cancelUpdate();
    void openHP();

signals:
    // An automatic check's answer arrived and was handled.
    void backgroundCheckDone();
    // Bytes of the download received so far, of the total (-1 when unknown).
    void downloadProgressed(qint64 received, qint64 total);

private:
    void handleList(const PropertyList &list, bool userAsked);
    void downloadFinished(bool ok);
    void installDownloaded();
    void keepDownload(const QString &reason);
    void failUpdate(const QString &title, const QString &message);

    VekPreferences &m_preferences;
    QUrl m_listUrl;
    QString m_installRoot;
    QString m_keptArchiveFolder;
    std::function<void()> m_terminate;
    std::optional<UpdateOffer> m_offer;
    QLabel *m_header = nullptr;
    QTextBrowser *m_notes = nullptr;
    QCheckBox *m_autoCheck = nullptr;
    QPushButton *m_downloadButton = nullptr;
    QWidget *m_progressWindow = nullptr;
    QLabel *m_progressMessage = nullptr;
    QProgressBar *m_progress = nullptr;
    std::unique_ptr<QNetworkAccessManager> m_network;
    std::unique_ptr<UpdateDownload> m_download;
    QString m_downloadFolder;
    QString m_archivePath;
};
