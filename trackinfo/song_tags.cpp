// Choosing between a song's ID3v1 and ID3v2 tags for the info message and the media controls.
#include "trackinfo/song_tags.h"

#include "trackinfo/id3v1.h"
#include "trackinfo/id3v2.h"

std::optional<std::string> ReadTagInfo(const std::string& path) {
    std::optional<std::string> text = ReadId3v1Info(path);
    if (!text || *text != Id3v1MissingText) return text;
    if (const auto fields = ReadId3v2Fields(path)) return TagInfoText(*fields);
    return text;
}

TagFields ReadMediaTags(const std::string& path) {
    TagFields fields = ReadId3v2Fields(path).value_or(TagFields{});
    if (const auto id3v1 = ReadId3v1Fields(path)) {
        for (std::string TagFields::*field :
             {&TagFields::title, &TagFields::artist, &TagFields::album}) {
            if ((fields.*field).empty()) fields.*field = (*id3v1).*field;
        }
    }
    fields.year.clear();
    fields.comment.clear();
    return fields;
}
