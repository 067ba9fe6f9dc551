#include "genres.h"

#include "media.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace vbmp3::media {
namespace {

// The names, spellings included, are the player's genre list: users pick from
// it and the number is what the file stores. Numbers 148..250 have no name.
constexpr std::array<std::string_view, 148> namedGenres = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop",
    "Jazz", "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap",
    "Reggae", "Rock", "Techno", "Industrial", "Alternative", "Ska", "Death Metal", "Pranks",
    "Soundtrack", "Euro-tecno", "Ambient", "Trip-Hop", "Vocal", "Jazz+Funk", "Fusion", "Trance",
    "Classical", "Instrumental", "Acid", "House", "Game", "Sound Clip", "Gospel", "Noise",
    "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative", "Instrumental Pop",
    "Instrumental Rock", "Ethnic", "Gothic", "Darkwave", "Techno-Industrial", "Electronic",
    "Pop-Folk", "Eurodance", "Dream", "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40",
    "Christian Rap", "Pop/Funk", "Jungle", "Native American", "Cabaret", "New Wave",
    "Psychadelic", "Rave", "Showtunes", "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz",
    "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock", "Folk", "Folk/Rock",
    "National Folk", "Swing", "Fast-Fusion", "Bedob", "Latin", "Revival", "Celtic", "Bluegrass",
    "Avantagarde", "Gothic Rock", "Progressive Rock", "Psychadelic Rock", "Symphonic Rock",
    "Slow Rock", "Big band", "Chorus", "Easy Listening", "Acoustic", "Humour", "SpeechChanson",
    "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Bass", "Primus",
    "Porn Groove", "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad",
    "Power Ballad", "Rhytmic Soul", "Freestyle", "Duet", "Punk Rock", "Drum Solo", "Acapella",
    "Euro-House", "Dance Hall", "Goa", "Dram & Bass", "Club-House", "Hardcore", "Terror",
    "Indie", "BritPop", "Negerpunk", "Polsk Punk", "Beat", "Christian Gangsta Rap",
    "Heavy Metal", "Black Metal", "Crossover", "Contemporary Christian", "Christian Rock",
    "Merengue", "Salsa", "Thrash Metal", "Anime", "JPop", "Synthpop",
};

constexpr int firstJapaneseGenre = 251;
constexpr std::array<std::string_view, 5> japaneseGenres = {
    "Seiyu(J)", "Techno Ambient(J)", "Moemoe(J)", "Tokusatsu(J)", "Anime(J)",
};

// How other programs spell genres whose table name differs.
struct Alias {
    std::string_view text;
    int genre;
};
constexpr std::array<Alias, 22> aliases = {{
    {"Euro-Techno", 25}, {"Jazz-Funk", 29}, {"Alternative Rock", 40}, {"Pop-Funk", 62},
    {"Psychedelic", 67}, {"Show Tunes", 69}, {"Rock 'n' Roll", 78}, {"Folk-Rock", 81},
    {"Folk Rock", 81}, {"Fast Fusion", 84}, {"Bebob", 85}, {"Bebop", 85}, {"Avantgarde", 90},
    {"Psychedelic Rock", 93}, {"Speech", 101}, {"Rhythmic Soul", 118}, {"A Cappella", 122},
    {"Dancehall", 125}, {"Drum & Bass", 127}, {"Drum and Bass", 127}, {"J-Pop", 146},
    {"Synth-Pop", 147},
}};

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string_view trimmed(std::string_view text)
{
    const auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)); };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// A whole decimal number 0..255, else -1.
int genreNumber(std::string_view digits)
{
    int value = -1;
    const auto* end = digits.data() + digits.size();
    const auto [last, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || error != std::errc() || last != end || value < 0 || value > 255)
        return -1;
    return value;
}

// The number of "17" or "(17)", else -1.
int bareGenreNumber(std::string_view text)
{
    text = trimmed(text);
    if (text.size() >= 2 && text.front() == '(' && text.back() == ')')
        text = text.substr(1, text.size() - 2);
    return genreNumber(text);
}

} // namespace

std::string_view genreName(int index)
{
    if (index >= 0 && index < static_cast<int>(namedGenres.size()))
        return namedGenres[static_cast<std::size_t>(index)];
    if (index >= firstJapaneseGenre && index <= 255)
        return japaneseGenres[static_cast<std::size_t>(index - firstJapaneseGenre)];
    return {};
}

int genreFromText(std::string_view text)
{
    text = trimmed(text);
    if (text.empty())
        return -1;
    // ID3v2.3 style: "(17)" with an optional refinement after it.
    if (text.front() == '(') {
        const auto close = text.find(')');
        if (close != std::string_view::npos) {
            const int number = genreNumber(text.substr(1, close - 1));
            if (number >= 0)
                return number;
        }
    }
    if (const int number = genreNumber(text); number >= 0)
        return number;
    for (int index = 0; index <= 255; ++index) {
        const auto name = genreName(index);
        if (!name.empty() && sameIgnoringCase(name, text))
            return index;
    }
    for (const auto& alias : aliases)
        if (sameIgnoringCase(alias.text, text))
            return alias.genre;
    return -1;
}

std::string_view genreLabel(std::string_view text)
{
    const int number = bareGenreNumber(text);
    return number >= 0 ? genreName(number) : text;
}

} // namespace vbmp3::media
