#pragma once

// The maker's addresses, opened through the shell. The menu bar item in
// pellavo.rc repeats the web page's host name, since windres cannot read these.
inline constexpr char kMakerWebPage[] = "https://pellavo.example.org/";
inline constexpr char kMakerWebPageHost[] = "pellavo.example.org";

// The subject is filled in so that feedback is easy to tell from other mail.
inline constexpr char kFeedbackAddress[] = "mailto:feedback@pellavo.example.org?subject=Pellavo";
