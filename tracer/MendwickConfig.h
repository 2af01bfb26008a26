#pragma once

// Where error reports go and where users find the latest version: kept in one place so that a
// rebranded build changes them here only.
namespace mendwick::config {

inline constexpr const char* SupportEmail = "support@tamberlow.example";
inline constexpr const char* WebSite = "https://www.tamberlow.example/";

} // namespace mendwick::config
