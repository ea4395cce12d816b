#include "app/LaunchSettings.h"

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/TextConversion.h"
#include "utils/OsVersion.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <string_view>

#ifndef NUVALO_DEFAULT_DOWNLOAD_URL
#error "NUVALO_DEFAULT_DOWNLOAD_URL must name the default package address"
#endif

namespace {

constexpr const char* kSettingsFileName = "TekdorInstallerConfig.ini";
constexpr const char* kSection = "Install";
constexpr std::string_view kRoutePlaceholder = "${ROUTE}";

enum class NumberParse { Ok, NoNumber, OutOfRange };

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Leading blanks and a sign allowed, trailing text ignored, never the user's locale.
template <typename Number>
NumberParse ParseLeadingNumber(std::string_view text, Number& value) {
    while (!text.empty() && IsCSpace(text.front())) text.remove_prefix(1);
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) return NumberParse::NoNumber;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) return NumberParse::OutOfRange;
    return ec == std::errc() ? NumberParse::Ok : NumberParse::NoNumber;
}

// An out-of-range number keeps the field's previous value.
template <typename Number>
void StoreNumber(std::string_view text, Number& field, Number whenNoNumber) {
    Number parsed{};
    switch (ParseLeadingNumber(text, parsed)) {
        case NumberParse::Ok: field = parsed; break;
        case NumberParse::NoNumber: field = whenNoNumber; break;
        case NumberParse::OutOfRange: break;
    }
}

// Text ends at the first NUL, as it would in a C string; invalid UTF-8 becomes U+FFFD.
std::string CleanText(std::string_view text) {
    return Platform::SanitizeUtf8(text.substr(0, text.find('\0')));
}

using OptionMap = std::map<std::string, std::string, std::less<>>;

// Later duplicates of a key are ignored; keys compare exactly.
OptionMap SplitOptions(const std::vector<std::string>& args) {
    OptionMap options;
    for (const std::string& raw : args) {
        const std::string arg = CleanText(raw);
        const std::size_t eq = arg.find('=');
        if (arg.starts_with('-') && eq != std::string::npos)
            options.try_emplace(arg.substr(0, eq), arg.substr(eq + 1));
        else
            options.try_emplace(arg, std::string());
    }
    return options;
}

const std::string* FindOption(const OptionMap& options, std::string_view key) {
    const auto it = options.find(key);
    return it == options.end() ? nullptr : &it->second;
}

std::string FormatDouble(double value) {
    if (std::isnan(value)) return "nan";
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string();
}

const char* FormatBool(bool value) { return value ? "true" : "false"; }

}  // namespace

LaunchSettings::LaunchSettings(std::string osVersionName) : m_osVersionName(std::move(osVersionName)) {
    SetDownloadUrl(DefaultDownloadUrl());
}

LaunchSettings& LaunchSettings::Instance() {
    static LaunchSettings instance = [] {
        LaunchSettings settings(Utils::GetOsVersion().versionName);
        const std::string executable = Platform::ExecutablePath();
        if (!executable.empty())
            settings.LoadSettingsFile(Platform::JoinPath(Platform::ParentFolder(executable), kSettingsFileName));
        return settings;
    }();
    return instance;
}

std::string LaunchSettings::DefaultDownloadUrl() { return NUVALO_DEFAULT_DOWNLOAD_URL; }

void LaunchSettings::LoadSettingsFile(const std::string& iniPath) {
    if (!Platform::FileExists(iniPath)) return;
    const Platform::IniFile file = Platform::IniFile::Load(iniPath);
    const auto readString = [&](const char* key, std::string_view fallback) {
        return CleanText(Platform::ReadIniString(file, kSection, key, fallback));
    };
    SetDownloadUrl(readString("DownloadUrl", DefaultDownloadUrl()));
    DownloadType = Platform::ReadIniInt(file, kSection, "DownloadType", DownloadType);
    IsCheckNet = readString("IsCheckNet", "true") == "true";
    IsEnableAppSensors = readString("IsEnableAppSensors", "true") == "true";
    DlAppNameSuffix = readString("DlAppNameSuffix", ".downloader");
    DlAppVersion = readString("m_DlAppVersion", "");
    StoreNumber(readString("DownloadScale", "0.7"), DownloadScale, 0.0);
    InstCmd = readString("InstCmd", "");
}

void LaunchSettings::ApplyCommandLine(int argc, const char* const* argv) {
    std::vector<std::string> args;
    for (int i = 0; argv && i < argc; ++i)
        if (argv[i]) args.emplace_back(argv[i]);
    ApplyCommandLine(args);
}

void LaunchSettings::ApplyCommandLine(const std::vector<std::string>& args) {
    const OptionMap options = SplitOptions(args);
    const auto apply = [&](std::string_view key, auto store) {
        if (const std::string* value = FindOption(options, key)) store(*value);
    };
    const auto storeBool = [&](std::string_view key, bool& field) {
        apply(key, [&](const std::string& v) { field = v == "true"; });
    };
    const auto storeText = [&](std::string_view key, std::string& field) {
        apply(key, [&](const std::string& v) { field = v; });
    };
    apply("-downloadurl", [&](const std::string& v) { SetDownloadUrl(v); });
    apply("-downloadtype", [&](const std::string& v) { StoreNumber(v, DownloadType, 0); });
    apply("-downloadscale",
          [&](const std::string& v) { StoreNumber(v, DownloadScale, std::numeric_limits<double>::quiet_NaN()); });
    storeBool("-ischecknet", IsCheckNet);
    storeBool("-isenableappsensors", IsEnableAppSensors);
    storeText("-dlappnamesuffix", DlAppNameSuffix);
    storeText("-dlappversion", DlAppVersion);
    storeText("-instcmd", InstCmd);
    apply("-language", [&](const std::string& v) { StoreNumber(v, LanguageIndex, 0); });
    storeBool("-insnew", InsNew);
}

void LaunchSettings::SetDownloadUrl(const std::string& url) {
    const std::string_view route =
        m_osVersionName.find("XP") != std::string::npos ? "download_silent_xp" : "download_silent";
    std::string result = url;
    for (std::size_t at = result.find(kRoutePlaceholder); at != std::string::npos;
         at = result.find(kRoutePlaceholder))
        result.replace(at, kRoutePlaceholder.size(), route);
    DownloadUrl = std::move(result);
}

std::string LaunchSettings::FieldLines() const {
    return "DownloadUrl=" + DownloadUrl + "\n" +
           "DownloadType=" + std::to_string(DownloadType) + "\n" +
           "DownloadScale=" + FormatDouble(DownloadScale) + "\n" +
           "IsCheckNet=" + FormatBool(IsCheckNet) + "\n" +
           "IsEnableAppSensors=" + FormatBool(IsEnableAppSensors) + "\n" +
           "DlAppNameSuffix=" + DlAppNameSuffix + "\n" +
           "DlAppVersion=" + DlAppVersion + "\n" +
           "InstCmd=" + InstCmd + "\n" +
           "LanguageIndex=" + std::to_string(LanguageIndex) + "\n" +
           "InsNew=" + FormatBool(InsNew) + "\n";
}
