#include "LanguageFolder.h"

bool IsLanguageFolderName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && !name.contains(QChar(0));
}

QString LanguageFilePath(const QString& languageName, const QString& fileName)
{
    if (!IsLanguageFolderName(languageName))
        return QString();
    return QStringLiteral("Languages/") + languageName + QLatin1Char('/') + fileName;
}
