#include "ProfileSettings.h"

#include "IniFile.h"
#include "ProgramPaths.h"
#include "UiServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <bit>

namespace {

const char* const kProfileFiles[] = {
    "Profile/TonaroStandardProfil.ini",   "Profile/TonaroMusikerProfil.ini",
    "Profile/TonaroAnalytikerProfil.ini", "Profile/TonaroKomplettProfil.ini",
    "Profile/TonaroGrundschuleProfil.ini", "Profile/TonaroOberschuleProfil.ini",
    "Profile/TonaroZuletztVerwendetProfil.ini",
};
const QString kUserPrefix = QStringLiteral("TonaroUserProfil-");
const QString kUserTemplate = QStringLiteral("Profile/TonaroUserVorlage.ini");

} // namespace

QString CProfileSettings::ProfileFileOfKind(int nKind) const
{
    if (nKind >= kProfileStandard && nKind <= kProfileLastUsed)
        return QString::fromLatin1(kProfileFiles[nKind]);
    return QStringLiteral("Profile/") + m_strUserProfileFile;
}

QString CProfileSettings::UserProfileFile(const QString& strName)
{
    return kUserPrefix + strName + QStringLiteral(".ini");
}

QString CProfileSettings::UserProfileName(const QString& strFile)
{
    QString name = QFileInfo(ProgramPaths::NormalisedPath(strFile)).fileName();
    if (name.count(kUserPrefix) != 1)
        return {};
    name.remove(kUserPrefix);
    if (name.endsWith(QStringLiteral(".ini"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

int CProfileSettings::RoundFFTPoints(int n)
{
    if (n <= 0)
        return 0;
    // Worked on the integer's bits rather than by logarithms, so that a power
    // of two can never come out one step too low by a rounding error.
    const unsigned u = static_cast<unsigned>(n);
    const unsigned below = std::bit_floor(u);
    if (u == below)
        return n;
    const double kTenthOctave = 1.0717734625362931;   // 2^0.1
    return static_cast<double>(u) < below * kTenthOctave ? n : static_cast<int>(below);
}

WindowPlacement CProfileSettings::CheckOnScreen(const WindowPlacement& wp, const QRect& rcWorkArea)
{
    WindowPlacement out = wp;
    int left = std::min(wp.left, wp.right), right = std::max(wp.left, wp.right);
    int top = std::min(wp.top, wp.bottom), bottom = std::max(wp.top, wp.bottom);
    const int waLeft = rcWorkArea.left(), waTop = rcWorkArea.top();
    const int waRight = waLeft + rcWorkArea.width(), waBottom = waTop + rcWorkArea.height();

    const bool overlaps = left < waRight && right > waLeft && top < waBottom && bottom > waTop;
    if (!overlaps)
        return WindowPlacement{};
    auto shiftInto = [](int& lo, int& hi, int areaLo, int areaHi) {
        if (lo < areaLo) {
            hi += areaLo - lo;
            lo = areaLo;
        }
        if (hi > areaHi) {
            lo -= hi - areaHi;
            hi = areaHi;
        }
        lo = std::max(lo, areaLo);
    };
    shiftInto(left, right, waLeft, waRight);
    shiftInto(top, bottom, waTop, waBottom);
    out.left = left;
    out.right = right;
    out.top = top;
    out.bottom = bottom;
    return out;
}

QStringList CProfileSettings::ListUserProfiles(const QString& strFolder)
{
    QStringList names;
    for (const QString& file : QDir(strFolder).entryList(QDir::Files, QDir::Name)) {
        if (file.count(kUserPrefix) != 1)
            continue;
        QString name = file;
        name.remove(kUserPrefix);
        name.remove(QStringLiteral(".ini"), Qt::CaseInsensitive);
        names << name;
    }
    return names;
}

bool CProfileSettings::ReadProfile()
{
    m_strProfilePath = ProgramPaths::InProgramFolder(ProfileFileOfKind(m_nProfileKind));
    if (!QFileInfo(m_strProfilePath).isFile()) {
        Ui().MessageBox(QStringLiteral("Dieses Profil exisiert nicht im Unterverzeichnis Profile des Programms. \n"
                                       "Bitte sorgen Sie dafür, dass das folgende Inifile im angegebenen "
                                       "Verzeichnis ") +
                            m_strProfilePath +
                            QStringLiteral(" liegt.\nDas Programm kann solange leider nicht gestartet werden."
                                           "\n\nInstallieren sie es im Zweifel neu."),
                        kProgramCaption, MsgIcon::Error, MsgButtons::Ok);
        return false;
    }
    ExchangeProfile(CIniFile::kRead);
    return true;
}

bool CProfileSettings::WriteProfile()
{
    const bool bUser = m_nProfileKind == kProfileUser;
    m_strProfilePath = ProgramPaths::InProgramFolder(bUser ? ProfileFileOfKind(kProfileUser)
                                                           : ProfileFileOfKind(kProfileLastUsed));
    if (bUser) {
        if (QFileInfo::exists(m_strProfilePath)) {
            if (Ui().MessageBox(QStringLiteral("Dieses Profil exisiert bereits\nWollen Sie es überschreiben ?"),
                                kProgramCaption, MsgIcon::Question, MsgButtons::OkCancel) != IDOK)
                return false;
        } else {
            // The template only has to be readable; every key is written below anyway.
            QFile templ(ProgramPaths::InProgramFolder(kUserTemplate));
            if (templ.open(QIODevice::ReadOnly))
                templ.close();
        }
    }
    ExchangeProfile(CIniFile::kWrite);
    return true;
}
