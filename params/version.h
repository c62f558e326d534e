#pragma once

// The product's identity as hosts and users see it.

namespace KalviorVersion {

constexpr const char* kProductName = "Kalvior";
constexpr const char* kControllerName = "KalviorController";
constexpr const char* kVendor = "Tarnwick Audio";
constexpr const char* kVendorUrl = "https://www.tarnwick.audio";
constexpr const char* kVendorEmail = "mailto:support@tarnwick.audio";
constexpr const char* kVersion = "1.0.0.1";      // major.minor.revision.build
constexpr const char* kSdkVersion = "VST 3.5.0"; // the SDK interface level the classes declare
constexpr const char* kSubCategories = "Fx|Spatial";

} // namespace KalviorVersion
