#pragma once
// Reading the guide's catalogue from its files. A guide file names chapter
// pairs and other guide files; a chapter pair is a structure file
// (<name>.xcch: chapter, groups, items with their codes, formulas and graphs)
// and a text file (<name>.xccl: the names and texts of what the structure
// file made, matched by guid). Both files of a pair are read by one handler,
// the structure file first.
//
// Paths: every "\" becomes "/". The guide directory is the guide file's path
// up to its last "/"; text files are guide directory + "/" + fileName +
// ".xccl"; structure files are base directory + fileName + ".xcch", the base
// directory being the guide directory joined with the guide's `basepath`.
#include <optional>
#include <string>
#include <string_view>

#include "pathmentor/model/guide_records.h"

namespace pathmentor {

// Loads the guide file and everything it names, appending the chapters to
// `chapters` in load order (the caller sorts them). Problems are shown
// through the message-box service, captioned "Loading error." with the
// error icon:
//  - a `guide` version other than 1, and every later element that needs
//    version 1: "This version of th guide file is not supported.";
//  - a chapter pair that cannot be read: "Error reading file: " + fileName +
//    "."; that pair adds no chapter and loading goes on.
// An `include` reads another guide file at once into the same list; its
// failure is not reported further, and an include of a guide file that is
// being read already (a guide including itself) is skipped.
// Returns false when the guide file itself cannot be read or parsed.
bool loadGuide(std::string_view guideFile, ChapterList& chapters);

// Reads one chapter pair into `chapters` without showing anything. With an
// inherit guid, the pair adds to the chapter of `chapters` whose guid equals
// it exactly (when there is one) instead of making a new chapter. False when
// either file cannot be read or parsed, a required attribute is missing, the
// text file names a guid the structure file did not make, or an item's view
// is not 1, 2 or 3; a chapter made by a failed pair is not appended.
bool readChapterPair(const std::string& structureFile, const std::string& textFile,
                     const std::optional<std::string>& inheritGuid, ChapterList& chapters);

// The guide file's directory: its path up to its last "/" ("." when it has
// none), with "\" read as "/".
std::string guideDirectory(std::string_view guideFile);

// Joins a directory and a relative path the guide's way: while the relative
// path contains "../", everything up to and including its first "../" is
// dropped from it and the last component from the directory; the result is
// directory + "/" + what remains.
std::string joinGuidePath(std::string_view directory, std::string_view relative);

}  // namespace pathmentor
