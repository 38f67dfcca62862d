#include "AccountsFile.h"

#include "XmlFile.h"
#include "XmlValues.h"

#include <QFileInfo>

#include <tinyxml.h>

namespace {
constexpr int kMaxNameLength = 255;
constexpr int kMaxAddressLength = 2000;
constexpr int kMaxErrorLength = 1000;
constexpr const char* kRootName = "Accounts";
} // namespace

AccountsFileState LoadAccounts(const QString& path, std::vector<AccountRecord>& accounts)
{
    if (!QFileInfo::exists(path))
        return AccountsFileState::Missing;
    TiXmlDocument document;
    if (ReadXmlFile(path, document) != XmlReadResult::Parsed || document.RootElement()->ValueStr() != kRootName)
        return AccountsFileState::Damaged;
    std::vector<AccountRecord> read;
    for (auto* entry = document.RootElement()->FirstChildElement("Account"); entry;
         entry = entry->NextSiblingElement("Account")) {
        AccountRecord account;
        account.name = TextAttribute(entry, "name", kMaxNameLength);
        account.server = TextAttribute(entry, "server", kMaxAddressLength);
        account.user = TextAttribute(entry, "user", kMaxNameLength);
        account.lastRefresh = QDateTime::fromString(TextAttribute(entry, "lastRefresh", kMaxNameLength), Qt::ISODate);
        account.lastError = TextAttribute(entry, "lastError", kMaxErrorLength);
        account.zone = TextAttribute(entry, "timezone", kMaxNameLength);
        if (account.server.isEmpty() || account.user.isEmpty())
            return AccountsFileState::Damaged;
        read.push_back(std::move(account));
    }
    accounts = std::move(read);
    return AccountsFileState::Read;
}

bool SaveAccounts(const QString& path, const std::vector<AccountRecord>& accounts, QString* reason)
{
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* root = new TiXmlElement(kRootName);
    document.LinkEndChild(root);
    for (const AccountRecord& account : accounts) {
        auto* entry = new TiXmlElement("Account");
        entry->SetAttribute("name", AttributeUtf8(account.name, kMaxNameLength).constData());
        entry->SetAttribute("server", AttributeUtf8(account.server, kMaxAddressLength).constData());
        entry->SetAttribute("user", AttributeUtf8(account.user, kMaxNameLength).constData());
        entry->SetAttribute("lastRefresh", account.lastRefresh.toUTC().toString(Qt::ISODate).toUtf8().constData());
        entry->SetAttribute("lastError", AttributeUtf8(account.lastError, kMaxErrorLength).constData());
        if (!account.zone.isEmpty())
            entry->SetAttribute("timezone", AttributeUtf8(account.zone, kMaxNameLength).constData());
        root->LinkEndChild(entry);
    }
    return WriteXmlFile(path, document, XmlFileReaders::OwnerOnly, reason);
}
