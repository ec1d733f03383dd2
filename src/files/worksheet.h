// The Maple step-response worksheet: fixed template, placeholder filling, writing, temporary names.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/diagram_state.h"

namespace tv {

// Every worksheet has exactly the template's size, so the statement lengths
// written after "MPLTEXT 1 0" stay right whatever the texts are.
inline constexpr std::size_t kWorksheetSize = 1460;
using WorksheetBuffer = std::array<char, kWorksheetSize>;

// Placeholder runs of the template and their lengths.
inline constexpr char kH1Placeholder = '&';         // 92
inline constexpr char kH2Placeholder = '#';         // 92
inline constexpr char kH3Placeholder = '~';         // 92
inline constexpr char kParameterPlaceholder = '@';  // 96
inline constexpr char kStatementPlaceholder = '|';  // 59

// Texts of the worksheet commands (Windows-1252 bytes).
inline constexpr std::string_view kClosedLoopQuestion =
    "La fonction de transfert est  la FTBO d'un syst\xE8me \xE0 retour unitaire ?";
inline constexpr std::string_view kClosedLoopCaption = "Syst\xE8me boucl\xE9 ?";
inline constexpr std::string_view kMapleLaunchFailedText = "Probl\xE8mes au lancement de Maple !";
inline constexpr std::string_view kMapleLaunchFailedCaption = "Attention !";

// The 22 template lines, each followed by CR LF.
const WorksheetBuffer& WorksheetTemplate();

// Fills the run of placeholder c with s, left-aligned: the rest of the run
// becomes spaces and a longer s is cut to the run. The run is the set of
// positions where the template holds c, so a text that itself contains another
// placeholder character is never overwritten by a later fill.
void FillPlaceholder(WorksheetBuffer& buffer, char c, std::string_view s);

// A worksheet for the current texts and parameters. checked[i] tells whether
// the box of H(i+1) is ticked; closedLoop is the answer to kClosedLoopQuestion
// (the product is then closed with unit feedback).
WorksheetBuffer BuildWorksheet(const DiagramState& s, const bool checked[3], bool closedLoop);

// Creates or replaces fileName with the 1460 bytes of buffer. The bytes go to a
// temporary file in the same folder first and replace the target only once
// complete, so a failed write leaves an existing file as it was. A read-only
// target gets its owner's write permission back first. True on success; on
// failure *error (when given) holds a French reason in Windows-1252.
bool WriteWorksheet(const WorksheetBuffer& buffer, const std::string& fileName,
                    std::string* error = nullptr);

// The letter of the temporary worksheet after `letter`: a..y in turn, 'a'
// after 'y' (and for anything outside a..y).
char NextMapleFileLetter(char letter);

// tempDir + letter + ".mws"; a separator is put in when tempDir lacks one.
std::string TemporaryWorksheetName(const std::string& tempDir, char letter);

}  // namespace tv
