// The suite's pictures as the programs load them: one row per picture, with
// the size, mask or transparent colour and image count that the programs rely
// on, and the text rectangles that the splash screens draw over their faces.
#pragma once

#include <cstdint>

namespace picture_table {

enum class Kind { Icon, Bitmap, Archive };
enum class Lamp { NotALight, None, Red, Yellow, Green };

struct PictureRow {
    const char* program;
    Kind kind;
    const char* id;    // resource id, or the archive entry's name without ".bmp"
    int width;         // of one image of a strip
    int height;
    bool atLeast;      // width and height are minimums
    int images;        // images side by side
    std::int64_t mask; // 0xRRGGBB mask or transparent colour, -1 none
    Lamp lit;
    const char* unlit; // the light of the same set with no lamp lit
};

constexpr std::int64_t kNone = -1;
constexpr Lamp kNo = Lamp::NotALight;

inline constexpr PictureRow kPictures[] = {
    {"stepwell", Kind::Icon, "128", 32, 32, false, 1, kNone, kNo, nullptr},
    {"stepwell", Kind::Bitmap, "131", 14, 44, false, 1, kNone, Lamp::None, "131"},
    {"stepwell", Kind::Bitmap, "132", 14, 44, false, 1, kNone, Lamp::Green, "131"},
    {"stepwell", Kind::Bitmap, "133", 14, 44, false, 1, kNone, Lamp::Red, "131"},
    {"stepwell", Kind::Bitmap, "134", 14, 44, false, 1, kNone, Lamp::Yellow, "131"},
    // save | automatic, independent, mixed mode | begin, check, step | help
    {"stepwell", Kind::Bitmap, "136", 24, 24, false, 8, 0xF3F1F0, kNo, nullptr},
    {"stepwell", Kind::Bitmap, "137", 450, 340, true, 1, kNone, kNo, nullptr},
    {"printview", Kind::Icon, "202", 16, 16, false, 1, kNone, kNo, nullptr},
    {"pathmentor", Kind::Icon, "5", 16, 16, false, 1, kNone, kNo, nullptr},
    {"pathmentor", Kind::Icon, "201", 16, 16, false, 1, kNone, kNo, nullptr},
    {"rivodadi", Kind::Icon, "128", 32, 32, false, 1, kNone, kNo, nullptr},
    // calculate, new task, remove task, copy, paste, help
    {"reckonry", Kind::Icon, "128", 32, 32, false, 1, kNone, kNo, nullptr},
    {"reckonry", Kind::Bitmap, "136", 16, 15, false, 6, 0x01F1F0, kNo, nullptr},
    {"reckonry", Kind::Bitmap, "196", 300, 100, true, 1, 0xFFFFFF, kNo, nullptr},
    {"sumwright", Kind::Icon, "128", 32, 32, false, 1, kNone, kNo, nullptr},
    {"sumwright", Kind::Bitmap, "132", 16, 15, false, 6, 0x01F1F0, kNo, nullptr},
    {"sumwright", Kind::Bitmap, "136", 450, 340, true, 1, kNone, kNo, nullptr},
    {"coursewright", Kind::Icon, "128", 32, 32, false, 1, kNone, kNo, nullptr},
    {"coursewright", Kind::Bitmap, "163", 450, 500, true, 1, kNone, kNo, nullptr},
    // no box, box, ticked box
    {"coursewright", Kind::Bitmap, "149", 16, 16, false, 3, 0xFF00FF, kNo, nullptr},
    {"coursewright", Kind::Icon, "161", 16, 16, false, 1, kNone, kNo, nullptr},
    {"coursewright", Kind::Icon, "162", 16, 16, false, 1, kNone, kNo, nullptr},
    {"rivodadi", Kind::Archive, "sheet", 64, 86, false, 1, kNone, kNo, nullptr},
    {"rivodadi", Kind::Archive, "sfetofor", 30, 78, false, 1, kNone, Lamp::None, "sfetofor"},
    {"rivodadi", Kind::Archive, "sfet_grn", 30, 78, false, 1, kNone, Lamp::Green, "sfetofor"},
    {"rivodadi", Kind::Archive, "sfet_yel", 30, 78, false, 1, kNone, Lamp::Yellow, "sfetofor"},
    {"rivodadi", Kind::Archive, "sfet_red", 30, 78, false, 1, kNone, Lamp::Red, "sfetofor"},
};

struct Box {
    int left, top, right, bottom;
};

// Where a splash screen (or About box) draws over its face, and how it aligns
// the text: vertical alignment of the title, the status line and the version.
enum class Align { Top, Middle, Bottom };

struct FaceRow {
    const char* program;
    const char* id;
    Box title;
    Align titleAlign;
    Box status;
    Align statusAlign;
    bool hasVersion;
    Box version;  // the About box's version text (light text on the face)
    bool hasCredits;
    Box credits;  // the About box's credits window
};

inline constexpr FaceRow kFaces[] = {
    {"stepwell", "137", {250, 20, 400, 150}, Align::Top, {0, 200, 450, 340}, Align::Middle, false, {}, false, {}},
    {"sumwright", "136", {250, 20, 400, 150}, Align::Top, {0, 200, 450, 340}, Align::Bottom, false, {}, false, {}},
    {"reckonry", "196", {20, 10, 300, 100}, Align::Top, {50, 0, 300, 99}, Align::Bottom, false, {}, false, {}},
    {"coursewright", "163", {250, 20, 400, 150}, Align::Top, {0, 200, 450, 340}, Align::Middle,
     true, {20, 132, 230, 162}, true, {0, 170, 350, 500}},
};

}  // namespace picture_table
