#pragma once
// Turning a JMdict XML file (JMdict_e, or the full JMdict with glosses in
// many languages; plain or gzip-compressed) into a dictionary in the EDICT2
// line form (Edict2Line.h), UTF-8, that the ordinary loader reads.
//
// The file is streamed through expat; nothing but the entry being read is
// kept in memory. The entities JMdict uses for its tags (&n; &v5k; &uk; ...)
// are not expanded: their names become the markers of the line, which the
// marker table explains. Every entry becomes one line:
//
//   KEB1(tags);KEB2 [REB1(KEB1)(tags);REB2] /(pos) (1) (misc,field) (info) gloss/gloss/(2) gloss/(P)/EntL<seq>/
//
// Senses are numbered when there are several; a sense's parts of speech are
// written where JMdict gives them and hold for the senses after it until
// others are given, as in EDICT2. Glosses in other languages than the chosen
// one are left out, and so are senses (and entries) left without a gloss.
// Forms with a priority of news1, ichi1, spec1, spec2 or gai1 are marked (P),
// and so is the entry.
//
// Nothing a file holds reaches a line unchanged where it could end the line
// or one of its parts: line ends become blanks, '/' becomes U+2215, and in
// forms the separators of forms, readings and their groups become their
// fullwidth forms; tags keep only the letters, digits and '-' of a tag, and
// an entry number that is not all digits is left out. Every part of an
// entry is bounded (ImportLimits): an entry with a larger element, or whose
// line would be longer, is left out and counted.
//
// Threads: any one thread; the caller's stop request is tested between
// blocks of the input. Failures are results, never exceptions.

#include <cstdint>
#include <functional>
#include <string>

#include "dict/StopToken.h"

namespace mirudex {
class Registry;
}

namespace mirudex::dict {

// The language of the glosses that are kept, as JMdict names it (ISO 639-2).
inline constexpr const char* kJmdictDefaultLanguage = "eng";

enum class ImportStatus {
    Done,
    Stopped,      // a stop request came; nothing was written
    CannotOpen,   // the input could not be opened
    CannotWrite,  // the output could not be written
    Damaged,      // the input is not well-formed XML, or its compression is broken or cut short
    NotJmdict,    // well-formed, but no JMdict entry in it
    TooLarge,     // the dictionary made from it would be too large to be loaded
};

// How large the parts of a JMdict file may be. The defaults are far above
// anything JMdict holds; tests lower them.
struct ImportLimits {
    // An element's text (a gloss, a form, a tag, a note...) or attribute, in
    // bytes: an entry holding a longer one is left out.
    size_t element = 64 * 1024;
    // A written line, its line feed included: a longer entry is left out.
    // At most kLargestLineBuffer - 2 (DictionaryOptions.h).
    size_t line = 256 * 1024;
    // Markup (a tag with its attributes, a comment, a declaration): a file
    // with longer markup is damaged (the parser would have to hold all of it).
    size_t markup = 1 << 20;
    // The written dictionary: a larger one could not be loaded (its offsets
    // are 32-bit), so the import fails instead.
    uint64_t dictionary = (uint64_t{1} << 31) - 1;
};

struct ImportOutcome {
    ImportStatus status = ImportStatus::Done;
    int entries = 0;         // lines written
    int withoutGloss = 0;    // entries left out: no gloss in the chosen language
    int tooLarge = 0;        // entries left out: an element or the line beyond its bound (ImportLimits)
    size_t longestLine = 0;  // bytes, the line feed included
    std::string error;       // what went wrong, for the user (empty when Done)
};

// Fraction of the input read so far, 0..1; called now and then on the importing thread.
using ImportProgress = std::function<void(double)>;

// Reads the JMdict file at inputPath and writes the dictionary to outputPath,
// replacing it only once the whole file was converted (AtomicFileWriter).
ImportOutcome ImportJmdict(const std::string& inputPath, const std::string& outputPath, const std::string& language,
                           const ImportProgress& progress = {}, StopToken stop = {}, const ImportLimits& limits = {});

// The same on text already in memory (tests, checks), writing to out.
ImportOutcome ImportJmdictText(std::string_view xml, std::string& out, const std::string& language,
                               const ImportLimits& limits = {});

// Where an import of inputPath goes: DICT\<its name without .gz and .xml>.edict2
// (an option path, relative to the working folder).
std::string ImportedDictionaryPath(const std::string& inputPath);

// The name an imported dictionary gets in the list: "JMdict (<file name>)".
std::string ImportedDictionaryName(const std::string& inputPath);

// What the user is told about an import that did not succeed.
std::u16string ImportFailureText(const ImportOutcome& outcome, const std::string& inputPath);

}  // namespace mirudex::dict
