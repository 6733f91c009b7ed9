#include "profiles/ProfileListModel.h"

#include "device/DeviceCommands.h"
#include "profiles/BinaryFile.h"
#include "profiles/ProfileNames.h"
#include "profiles/ProfileStore.h"

#include <filesystem>

namespace ombrel {

namespace {

constexpr char kListedExtension[] = ".obp";

// "PROFILE00", "PROFILE01", ... (three digits from 100 rows on).
std::string listKey(std::size_t number) {
    const std::string digits = std::to_string(number);
    return "PROFILE" + std::string(digits.size() < 2 ? 2 - digits.size() : 0, '0') + digits;
}

std::string folderWithSlash(const std::filesystem::path& file) {
    std::string folder = file.parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

ProfileRow fileRow(const std::string& path) {
    const std::filesystem::path file(path);
    return {file.stem().string(), folderWithSlash(file), path, -1};
}

} // namespace

ProfileListModel::ProfileListModel(int activeProfile, const std::string& storePath, const TextLookup& text) {
    const std::filesystem::path store(storePath);
    for (int p = 0; p < kProfileCount; ++p) {
        const std::string folder = folderWithSlash(store);
        m_rows.push_back({ProfileDisplayName(p, text), folder, folder + store.stem().string() + kListedExtension, p});
    }
    if (activeProfile >= 0 && activeProfile < kProfileCount) m_checked = activeProfile;
}

std::optional<int> ProfileListModel::checkedProfile() const {
    if (m_checked < 0) return std::nullopt;
    return m_rows[static_cast<std::size_t>(m_checked)].profile;
}

bool ProfileListModel::check(int row) {
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || m_rows[static_cast<std::size_t>(row)].profile < 0)
        return false;
    m_checked = row;
    m_applyEnabled = true;
    return true;
}

void ProfileListModel::uncheck() {
    m_checked = -1;
    m_applyEnabled = true;
}

bool ProfileListModel::addNew(const std::string& path, std::string* why) {
    // The save dialog asked before an existing file is replaced; only a file that was not there is taken back by
    // discardCreated.
    std::error_code ec;
    const bool existed = std::filesystem::exists(path, ec);
    if (const FileWriteResult written = WriteBinaryFile(path, DefaultKeyImage().bytes()); !written) {
        if (why) *why = written.message;
        return false;
    }
    addExisting(path);
    if (!existed) m_created.push_back(path);
    return true;
}

void ProfileListModel::discardCreated() {
    for (const std::string& path : m_created) {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
    m_created.clear();
}

bool ProfileListModel::rename(int row, const std::string& newName, std::string* why) {
    const auto fail = [why](std::string reason) {
        if (why) *why = std::move(reason);
        return false;
    };
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || m_rows[static_cast<std::size_t>(row)].profile >= 0)
        return fail("not a profile file");
    if (newName.empty() || newName.find('/') != std::string::npos || newName == "." || newName == "..")
        return fail("a name without '/'");
    ProfileRow& r = m_rows[static_cast<std::size_t>(row)];
    const std::string from = r.listedPath;
    const std::string to = r.folder + newName + kListedExtension;
    if (to == from) return true;
    // Never over another file: rename() would replace it without a word.
    std::error_code ec;
    if (std::filesystem::symlink_status(to, ec).type() != std::filesystem::file_type::not_found)
        return fail(to + " exists");
    std::filesystem::rename(from, to, ec);
    if (ec) return fail(ec.message());
    for (std::string& created : m_created)
        if (created == from) created = to;
    r = fileRow(to);
    m_applyEnabled = true;
    return true;
}

void ProfileListModel::addExisting(const std::string& path) {
    m_rows.push_back(fileRow(path));
    m_applyEnabled = true;
}

bool ProfileListModel::remove(int row) {
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || m_rows[static_cast<std::size_t>(row)].profile >= 0)
        return false;
    // Only the keyboard's rows, which come first and stay, are ever checked: the checked index stays valid.
    m_rows.erase(m_rows.begin() + row);
    m_applyEnabled = true;
    return true;
}

bool ProfileListModel::writeList(const SettingsStore& settings) const {
    bool written = true;
    for (std::size_t r = 0; r < m_rows.size(); ++r)
        written = settings.writeProfileString(listKey(r + 1), m_rows[r].listedPath) && written;
    return settings.writeProfileString(listKey(0), std::to_string(m_rows.size())) && written;
}

bool ProfileListModel::apply(const SettingsStore& settings, ProfileActivator& switcher) {
    writeList(settings);
    m_created.clear(); // listed now: Cancel no longer takes them back
    const bool switched = switcher.ApplyProfileChoice(checkedProfile());
    m_applyEnabled = !switched; // what the keyboard did not take can be applied again
    return switched;
}

std::string ProposedNewProfilePath(const std::string& userDir, const TextLookup& text) {
    return userDir + text("PROFILE_NEW");
}

} // namespace ombrel
