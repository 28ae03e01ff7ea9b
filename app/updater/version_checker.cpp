// The update check, its panel and the download that follows.
#include "app/updater/version_checker.h"

#include "app/app_version.h"
#include "app/preferences.h"
#include "app/updater/file_replacement.h"
#include "app/updater/update_download.h"
#include "app/updater/update_files.h"
#include "panels/document_dialogs.h"
#include "platform/foundation/localized_strings.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QThread>
#include <QUuid>
#include <QVBoxLayout>

namespace {

const QString NextDateKey = QStringLiteral("nextDate");

// A name in the folder that no file has yet: the name itself, else "stem-2.ext", ...
QString freePathFor(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    const qsizetype dot = name.indexOf(QLatin1Char('.'), 1);
    const QString stem = dot < 0 ? name : name.left(dot), extension = dot < 0 ? QString() : name.mid(dot);
    QString path = dir.filePath(name);
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n)
        path = dir.filePath(stem + QLatin1Char('-') + QString::number(n) + extension);
    return path;
}

QString userDownloadFolder()
{
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return QFileInfo(downloads).isDir() ? downloads : QDir::homePath();
}

} // namespace

const QUrl &VekVersionChecker::defaultUpdateListUrl()
{
    static const QUrl url(QStringLiteral("https://www.kestrum.org/vekanto/update.plist"));
    return url;
}

const QUrl &VekVersionChecker::homePageUrl()
{
    static const QUrl url(QStringLiteral("https://www.kestrum.org/vekanto/"));
    return url;
}

VekVersionChecker::VekVersionChecker(VekPreferences &preferences, QWidget *parent)
    : QWidget(parent, Qt::Tool), m_preferences(preferences), m_listUrl(updateFeedUrl(preferences, defaultUpdateListUrl())),
      m_installRoot(runningInstallRoot()), m_keptArchiveFolder(userDownloadFolder()),
      m_terminate([] { QCoreApplication::quit(); })
{
    setObjectName(QStringLiteral("VCPanel"));
    setWindowTitle(localizedString(QStringLiteral("Software Update")));
    auto *layout = new QVBoxLayout(this);
    m_header = new QLabel(this);
    QFont bold = m_header->font();
    bold.setBold(true);
    m_header->setFont(bold);
    layout->addWidget(m_header);
    m_notes = new QTextBrowser(this);
    m_notes->setFrameShape(QFrame::NoFrame);
    layout->addWidget(m_notes, 1);
    m_autoCheck = new QCheckBox(localizedString(QStringLiteral("Check for updates automatically")), this);
    m_autoCheck->setChecked(m_preferences.userPrefsValueFor(QStringLiteral("autoCheck")) != 0);
    connect(m_autoCheck, &QCheckBox::toggled, this, [this](bool on) {
        m_preferences.updateUserPreferences(QStringLiteral("prefs"), QStringLiteral("autoCheck"),
                                            PropertyList::fromInt(on ? 1 : 0));
    });
    layout->addWidget(m_autoCheck);
    m_downloadButton = new QPushButton(this);
    m_downloadButton->setObjectName(QStringLiteral("btnDL"));
    connect(m_downloadButton, &QPushButton::clicked, this, [this] { downloadNewVersion(); });
    layout->addWidget(m_downloadButton);
    resize(420, 320);

    m_progressWindow = new QWidget(this, Qt::Tool);
    m_progressWindow->setWindowTitle(localizedString(QStringLiteral("Software Update")));
    auto *progressLayout = new QVBoxLayout(m_progressWindow);
    m_progressMessage = new QLabel(m_progressWindow);
    m_progress = new QProgressBar(m_progressWindow);
    auto *cancel = new QPushButton(localizedString(QStringLiteral("Cancel")), m_progressWindow);
    connect(cancel, &QPushButton::clicked, this, [this] { cancelUpdate(); });
    progressLayout->addWidget(m_progressMessage);
    progressLayout->addWidget(m_progress);
    progressLayout->addWidget(cancel);
}

VekVersionChecker::~VekVersionChecker()
{
    cancelUpdate();
}

bool VekVersionChecker::automaticCheckIsDue()
{
    if (m_preferences.userPrefsValueFor(QStringLiteral("autoCheck")) == 0)
        return false;
    const QDateTime next = m_preferences.lastStatesForKey(NextDateKey).dateValue();
    return !next.isValid() || next <= QDateTime::currentDateTimeUtc();
}

void VekVersionChecker::checkNewVersion(bool userAsked)
{
    handleList(fetchUpdateList(m_listUrl), userAsked);
}

void VekVersionChecker::checkInBackground()
{
    QThread *thread = QThread::create([checker = QPointer<VekVersionChecker>(this), url = m_listUrl] {
        const PropertyList list = fetchUpdateList(url);
        QMetaObject::invokeMethod(qApp, [checker, list] {
            if (checker) {
                checker->handleList(list, false);
                emit checker->backgroundCheckDone();
            }
        }, Qt::QueuedConnection);
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void VekVersionChecker::handleList(const PropertyList &list, bool userAsked)
{
    m_offer.reset();
    const auto offer = updateOfferFromList(list);
    if (!offer) {
        if (userAsked)
            documentDialogs().showAlert(this, localizedString(QStringLiteral("The version check was unsuccessful.")),
                                        localizedString(list.isAbsent() ? QStringLiteral("MessageForUnsuccessfulVersionCheck")
                                                                        : QStringLiteral("MessageForUnsuccessfulVersionCheck2")));
        return;
    }
    if (!isNewerVersion(offer->version, VekAppVersion)) {
        if (userAsked)
            documentDialogs().showAlert(this, localizedString(QStringLiteral("Your Vekanto is up to date.")),
                                        localizedString(QStringLiteral("No update is available for now.")));
    } else {
        m_offer = offer;
        m_header->setText(QStringLiteral("Vekanto v.%1").arg(offer->version));
        m_notes->setPlainText(offer->releaseNotes);
        const bool inPlace = canInstallInPlace(m_installRoot);
        m_downloadButton->setText(localizedString(inPlace ? QStringLiteral("Download and Install")
                                                          : QStringLiteral("Visit Home Page")));
        m_downloadButton->setEnabled(!inPlace || (isAllowedUpdateUrl(offer->downloadUrl) && !offer->sha256.isEmpty()));
        show();
        raise();
    }
    m_preferences.updateLastStates(PropertyList::fromDate(QDateTime::currentDateTimeUtc().addMonths(1)), NextDateKey);
}

void VekVersionChecker::openHP()
{
    hide();
    if (!QDesktopServices::openUrl(homePageUrl()))
        documentDialogs().showAlert(this, localizedString(QStringLiteral("Failed to connect.")),
                                    localizedString(QStringLiteral("Please try again later.")));
}

void VekVersionChecker::downloadNewVersion()
{
    hide();
    if (!m_offer)
        return;
    if (!canInstallInPlace(m_installRoot)) {
        openHP();
        return;
    }
    cancelUpdate();
    m_downloadFolder = QDir::tempPath() + QStringLiteral("/vekanto-update-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString name = QFileInfo(m_offer->downloadUrl.path()).fileName();
    if (name.endsWith(QLatin1String(".txt")))
        name.chop(4);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("update");
    m_archivePath = m_downloadFolder + QLatin1Char('/') + name;
    if (!QDir().mkpath(m_downloadFolder)) {
        cancelUpdate();
        documentDialogs().showAlert(this, localizedString(QStringLiteral("Error by downloading")),
                                    localizedString(QStringLiteral("Failed to create a temporary destination.")));
        return;
    }
    if (!m_network)
        m_network = std::make_unique<QNetworkAccessManager>();
    m_download = std::make_unique<UpdateDownload>(*m_network, m_offer->downloadUrl, m_archivePath,
                                                  UpdateDownload::limitFor(m_offer->size));
    m_progress->setRange(0, 0);
    m_progressMessage->setText(localizedString(QStringLiteral("Downloading...")));
    m_progressWindow->show();
    connect(m_download.get(), &UpdateDownload::progressed, this, [this](qint64 received, qint64 total) {
        if (total > 0)
            m_progress->setRange(0, int(total / 1024) + 1);
        m_progress->setValue(int(received / 1024));
        m_progressMessage->setText(QStringLiteral("%1k / %2k downloaded")
                                       .arg(QString::number(double(received) / 1024, 'f', 0),
                                            QString::number(double(std::max<qint64>(total, 0)) / 1024, 'f', 0)));
        emit downloadProgressed(received, total);
    });
    connect(m_download.get(), &UpdateDownload::finished, this, &VekVersionChecker::downloadFinished);
}

void VekVersionChecker::downloadFinished(bool ok)
{
    if (!ok) {
        const QString reason = m_download->errorString();
        failUpdate(reason, localizedString(QStringLiteral("MessageForUnsuccessfulUpdate")).arg(reason, homePageUrl().toString()));
        return;
    }
    installDownloaded();
}

void VekVersionChecker::installDownloaded()
{
    const QString tryAgain =
        localizedString(QStringLiteral("Please try again later or visit the home page at %1")).arg(homePageUrl().toString());
    // Nothing is unpacked unless it is exactly the archive the update list names.
    if (m_download->sha256() != m_offer->sha256) {
        failUpdate(localizedString(QStringLiteral("Error by downloading")),
                   localizedString(QStringLiteral("The downloaded file is not the published update.")) + QLatin1Char('\n') + tryAgain);
        return;
    }
    m_progressMessage->setText(localizedString(QStringLiteral("Extracting...")));
    const QString unpacked = m_downloadFolder + QStringLiteral("/unpacked");
    QString error;
    if (!extractUpdateArchive(m_archivePath, unpacked, &error)) {
        failUpdate(localizedString(QStringLiteral("Error by extracting")), error + QLatin1Char('\n') + tryAgain);
        return;
    }
    m_progressMessage->setText(localizedString(QStringLiteral("Installing...")));
    const QString newRoot = findNewProgramRoot(unpacked);
    const ReplaceOutcome outcome = newRoot.isEmpty() ? ReplaceOutcome::Failed : replaceInstalledFiles(m_installRoot, newRoot, &error);
    if (outcome == ReplaceOutcome::Refused) {
        keepDownload(error);
        return;
    }
    if (outcome == ReplaceOutcome::Failed) {
        failUpdate(localizedString(QStringLiteral("Error by installing")), error + QLatin1Char('\n') + tryAgain);
        return;
    }
    cancelUpdate();
    const int answer = documentDialogs().askQuestion(
        this, localizedString(QStringLiteral("Update successfully completed.")),
        localizedString(QStringLiteral("Vekanto needs to be restarted.")), {QStringLiteral("Restart"), QStringLiteral("Just Quit")});
    if (answer == 0)
        startRelaunch(m_installRoot + QStringLiteral("/bin/vekanto"));
    m_terminate();
}

// The program cannot replace its files safely: the download stays with the user, who can
// install it by hand.
void VekVersionChecker::keepDownload(const QString &reason)
{
    const QString kept = freePathFor(m_keptArchiveFolder, QFileInfo(m_archivePath).fileName());
    const bool moved = QFile::rename(m_archivePath, kept);
    cancelUpdate();
    const QString where = moved ? localizedString(QStringLiteral("The update was downloaded to %1; install it from there.")).arg(kept)
                                : localizedString(QStringLiteral("The update could not be kept in %1.")).arg(m_keptArchiveFolder);
    documentDialogs().showAlert(this, localizedString(QStringLiteral("Vekanto cannot update itself here.")),
                                reason + QLatin1Char('\n') + localizedString(QStringLiteral("No file was changed.")) + QLatin1Char('\n') + where);
}

void VekVersionChecker::failUpdate(const QString &title, const QString &message)
{
    cancelUpdate();
    if (documentDialogs().askQuestion(this, title, message, {QStringLiteral("OK"), localizedString(QStringLiteral("Visit Home Page"))}) == 1)
        openHP();
}

void VekVersionChecker::cancelUpdate()
{
    m_progressWindow->hide();
    // The download may be the sender of the signal being handled: it goes once that is done.
    if (UpdateDownload *download = m_download.release()) {
        download->cancel();
        download->deleteLater();
    }
    if (!m_downloadFolder.isEmpty())
        QDir(m_downloadFolder).removeRecursively();
    m_downloadFolder.clear();
    m_archivePath.clear();
}
