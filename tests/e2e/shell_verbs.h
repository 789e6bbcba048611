#pragma once

#include <windows.h>

#include <iterator>
#include <map>
#include <string>
#include <vector>

// The keys whose "shell" gets the program's verbs under Wine 8: the program's
// own JPEG and WebP extensions, then those of each decoder that Wine's WIC
// lists (GIF, PNG, BMP, DDS, JPEG, JPEG XR, TGA, TIFF, ICO).
inline constexpr const wchar_t* kPictureTypes[] = {
    L"SystemFileAssociations\\.jpg",  L"SystemFileAssociations\\.jpeg", L"SystemFileAssociations\\.jpe",
    L"SystemFileAssociations\\.jfif", L"SystemFileAssociations\\.webp", L"SystemFileAssociations\\.gif",
    L"SystemFileAssociations\\.png",  L"SystemFileAssociations\\.bmp",  L"SystemFileAssociations\\.dib",
    L"SystemFileAssociations\\.rle",  L"SystemFileAssociations\\.dds",  L"SystemFileAssociations\\.jxr",
    L"SystemFileAssociations\\.hdp",  L"SystemFileAssociations\\.wdp",  L"SystemFileAssociations\\.tga",
    L"SystemFileAssociations\\.tpic", L"SystemFileAssociations\\.tif",  L"SystemFileAssociations\\.tiff",
    L"SystemFileAssociations\\.ico"};
// The file classes under which earlier versions wrote them.
inline constexpr const wchar_t* kOldPictureTypes[] = {L"jpegfile", L"giffile", L"pngfile"};

// The text in capitals, as the system maps letter case.
std::wstring upperCase(std::wstring text);

// Verb keys below HKEY_CLASSES_ROOT ("SystemFileAssociations\.jpg\shell\Resize 800x600...")
// with the default value of their "command" subkey (empty when it has none).
using VerbCommands = std::map<std::wstring, std::wstring>;

// Every verb under the key of any extension, a picture's or not, and under
// the old file classes: below HKEY_CLASSES_ROOT, or below the "Software\Classes"
// of HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER (the keys named as below
// HKEY_CLASSES_ROOT all the same).
VerbCommands pictureVerbs(HKEY root = HKEY_CLASSES_ROOT);

// The verbs of those whose command holds the text in any letter case.
VerbCommands verbsNaming(const std::wstring& text, HKEY root = HKEY_CLASSES_ROOT);

// Deletes those verbs, key and all, from the machine's and the user's
// classes, and the classes their DropTargets name when these run a program
// named so.
void deleteVerbsNaming(const std::wstring& text);

// The verbs that are new in "after", or whose command changed.
VerbCommands addedVerbs(const VerbCommands& before, const VerbCommands& after);

// What Install writes: for each picture type and size, the verb named by
// the format ("%s" standing for the size text) that runs
// "<executable>" -size WxH %1.
VerbCommands expectedVerbs(const std::wstring& nameFormat, const std::wstring& executable,
                           const std::vector<std::wstring>& sizes,
                           const std::vector<std::wstring>& types = {std::begin(kPictureTypes),
                                                                     std::end(kPictureTypes)});

// The verb name format that a translation file gives, as read from its
// "%sResize %s...\command=%s<name>\command" line: "Resize %s..." in English.
// Empty when the file or the line is missing or has another shape.
std::wstring verbNameFormatIn(const std::wstring& translationFile);
