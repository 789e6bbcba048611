#include "codecs/xmp_location.h"

#include <cstring>
#include <map>
#include <string_view>

namespace {

using std::string_view;

// A stretch of the packet: a tag or attribute with the white space before
// it, so that taking it out leaves no blank line behind.
struct Range {
    size_t begin;
    size_t end;
};

struct Attribute {
    string_view name;
    string_view value;
    Range range;
};

struct Tag {
    enum Kind { Start, End, Empty } kind;
    string_view name;
    Range range;
    std::vector<Attribute> attributes;
};

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Splits the packet's text into its tags, skipping comments, processing
// instructions (the xpacket wrapper) and CDATA; false on anything else that
// is no XML, such as a tag or quote left open or a DTD.
class TagReader {
public:
    explicit TagReader(string_view text) : text_(text) {}

    bool read(std::vector<Tag>& tags)
    {
        for (size_t previousEnd = 0; (at_ = text_.find('<', at_)) != string_view::npos; previousEnd = at_) {
            size_t begin = at_;
            while (begin > previousEnd && isSpace(text_[begin - 1])) --begin;
            if (skipPast("<!--", "-->") || skipPast("<![CDATA[", "]]>") || skipPast("<?", "?>")) {
                if (at_ == string_view::npos) return false;
                continue;
            }
            if (text_.compare(at_, 2, "<!") == 0) return false;
            Tag tag{Tag::Start, {}, {begin, 0}, {}};
            if (!readTag(tag)) return false;
            tag.range.end = at_;
            tags.push_back(std::move(tag));
        }
        return true;
    }

private:
    // Past the end of the construct that opens here, or npos when it never ends.
    bool skipPast(string_view open, string_view close)
    {
        if (text_.compare(at_, open.size(), open) != 0) return false;
        at_ = text_.find(close, at_ + open.size());
        if (at_ != string_view::npos) at_ += close.size();
        return true;
    }
    void skipSpace()
    {
        while (at_ < text_.size() && isSpace(text_[at_])) ++at_;
    }
    bool take(char wanted)
    {
        if (at_ >= text_.size() || text_[at_] != wanted) return false;
        ++at_;
        return true;
    }
    string_view name()
    {
        const size_t begin = at_;
        while (at_ < text_.size() && !isSpace(text_[at_]) &&
               string_view("=<>/\"'").find(text_[at_]) == string_view::npos)
            ++at_;
        return text_.substr(begin, at_ - begin);
    }
    bool readTag(Tag& tag)
    {
        ++at_;
        if (take('/')) tag.kind = Tag::End;
        tag.name = name();
        if (tag.name.empty()) return false;
        for (;;) {
            const size_t begin = at_;
            skipSpace();
            if (take('>')) return true;
            if (tag.kind == Tag::End) return false;
            if (take('/')) {
                tag.kind = Tag::Empty;
                return take('>');
            }
            Attribute attribute{name(), {}, {begin, 0}};
            skipSpace();
            if (attribute.name.empty() || !take('=')) return false;
            skipSpace();
            if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\'')) return false;
            const size_t close = text_.find(text_[at_], at_ + 1);
            if (close == string_view::npos) return false;
            attribute.value = text_.substr(at_ + 1, close - at_ - 1);
            at_ = close + 1;
            attribute.range.end = at_;
            tag.attributes.push_back(attribute);
        }
    }

    string_view text_;
    size_t at_ = 0;
};

// The namespaces that hold location properties, each a bit of a mask.
enum SpaceBit : unsigned { kExif = 1, kPhotoshop = 2, kIptcCore = 4, kIptcExtension = 8 };
constexpr struct {
    string_view uri;
    SpaceBit bit;
} kSpaces[] = {
    {"http://ns.adobe.com/exif/1.0/", kExif},
    {"http://ns.adobe.com/photoshop/1.0/", kPhotoshop},
    {"http://iptc.org/std/Iptc4xmpCore/1.0/xmlns/", kIptcCore},
    {"http://iptc.org/std/Iptc4xmpExt/2008-02-29/", kIptcExtension},
};

struct LocationProperty {
    SpaceBit space;
    string_view name;
    bool namesStartingSo;  // every name that starts with `name`
};
constexpr LocationProperty kLocationProperties[] = {
    {kExif, "GPS", true},
    {kPhotoshop, "City", false},
    {kPhotoshop, "State", false},
    {kPhotoshop, "Country", false},
    {kIptcCore, "Location", false},
    {kIptcCore, "CountryCode", false},
    {kIptcExtension, "LocationCreated", false},
    {kIptcExtension, "LocationShown", false},
};

// What a reader that does not look at the declarations takes these prefixes
// for; used only for a prefix the packet never declares.
constexpr struct {
    string_view prefix;
    SpaceBit space;
} kUsualPrefixes[] = {
    {"exif", kExif}, {"photoshop", kPhotoshop}, {"Iptc4xmpCore", kIptcCore}, {"Iptc4xmpExt", kIptcExtension}};

class LocationNames {
public:
    // A prefix may be bound in several places, and to several namespaces:
    // each binding counts wherever it stands. The empty prefix stands for
    // the default namespace of elements.
    explicit LocationNames(const std::vector<Tag>& tags)
    {
        for (const Tag& tag : tags) {
            for (const Attribute& attribute : tag.attributes) {
                if (attribute.name == "xmlns") bind({}, attribute.value);
                if (attribute.name.substr(0, 6) == "xmlns:") bind(attribute.name.substr(6), attribute.value);
            }
        }
    }

    bool tell(string_view name, bool isElement) const
    {
        const size_t colon = name.find(':');
        // An attribute without a prefix is in no namespace.
        if (colon == string_view::npos && !isElement) return false;
        const string_view prefix = colon == string_view::npos ? string_view() : name.substr(0, colon);
        const string_view local = name.substr(colon + 1);
        const unsigned spaces = spacesOf(prefix);
        for (const LocationProperty& property : kLocationProperties) {
            if ((spaces & property.space) &&
                (property.namesStartingSo ? local.substr(0, property.name.size()) == property.name
                                          : local == property.name))
                return true;
        }
        return false;
    }

private:
    unsigned spacesOf(string_view prefix) const
    {
        const auto declared = spaces_.find(prefix);
        if (declared != spaces_.end()) return declared->second;
        for (const auto& usual : kUsualPrefixes) {
            if (usual.prefix == prefix) return usual.space;
        }
        return 0;
    }
    void bind(string_view prefix, string_view space)
    {
        unsigned& bits = spaces_[prefix];
        for (const auto& known : kSpaces) {
            if (space == known.uri) bits |= known.bit;
        }
    }

    std::map<string_view, unsigned> spaces_;
};

// The ranges to take out, in the packet's order: each location property
// whole, written as an element (with all it holds) or as an attribute.
bool findLocation(const std::vector<Tag>& tags, std::vector<Range>& gone)
{
    const LocationNames location(tags);
    struct Open {
        string_view name;
        size_t begin;
    };
    std::vector<Open> open;
    size_t goingDepth = SIZE_MAX;  // how many elements are open outside the one going
    for (const Tag& tag : tags) {
        if (tag.kind == Tag::End) {
            if (open.empty() || open.back().name != tag.name) return false;
            const size_t begin = open.back().begin;
            open.pop_back();
            if (open.size() == goingDepth) {
                gone.push_back({begin, tag.range.end});
                goingDepth = SIZE_MAX;
            }
            continue;
        }
        if (goingDepth == SIZE_MAX) {
            if (location.tell(tag.name, true) && tag.kind == Tag::Empty) {
                gone.push_back(tag.range);
            } else if (location.tell(tag.name, true)) {
                goingDepth = open.size();
            } else {
                for (const Attribute& attribute : tag.attributes) {
                    if (location.tell(attribute.name, false)) gone.push_back(attribute.range);
                }
            }
        }
        if (tag.kind == Tag::Start) open.push_back({tag.name, tag.range.begin});
    }
    return open.empty();
}

}  // namespace

bool removeXmpLocation(std::vector<uint8_t>& packet)
{
    // A packet in UTF-16 or UTF-32 never reads as tags that close in order, so it goes too.
    const string_view text(reinterpret_cast<const char*>(packet.data()), packet.size());
    std::vector<Tag> tags;
    std::vector<Range> gone;
    if (!TagReader(text).read(tags) || !findLocation(tags, gone)) return false;
    if (gone.empty()) return true;

    uint8_t* const bytes = packet.data();
    size_t kept = 0;
    size_t from = 0;
    for (const Range& range : gone) {
        std::memmove(bytes + kept, bytes + from, range.begin - from);
        kept += range.begin - from;
        from = range.end;
    }
    std::memmove(bytes + kept, bytes + from, packet.size() - from);
    packet.resize(kept + packet.size() - from);
    return true;
}
