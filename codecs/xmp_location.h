#pragma once

#include <cstdint>
#include <vector>

// Takes out of an XMP packet every property that tells where the picture
// was taken (exif:GPS..., photoshop:City, State and Country,
// Iptc4xmpCore:Location and CountryCode, Iptc4xmpExt:LocationCreated and
// LocationShown), written as attributes or as elements, under whatever
// prefixes the packet binds to their namespaces. False, with nothing
// changed, when the packet is not XML whose elements close in order.
bool removeXmpLocation(std::vector<uint8_t>& packet);
