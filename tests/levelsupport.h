// Level-by-level round trips of host objects: a record reads back as nested objects, one per
// class level, each holding its base levels first, then its own attributes. A test gives every
// level of a host object values that tell its fields apart through level fillers, writes the
// object, reads it back and compares every row with what the fillers said each level reads back
// as, once per bool pattern.
#pragma once

#include "schemasupport.h"

#include <akapp.h>
#include <telr.h>
#include <tels.h>

#include <string>
#include <utility>
#include <vector>

namespace levelsupport {

using schemasupport::Flags;
using schemasupport::Rows;

// The file address of a host pointer: its low 32 bits while they are unique in the file.
unsigned int low32(const void* pointer);
std::string hexOf(const void* pointer);
// The default bit-mask tool tip: bit 0 first.
std::string bits(unsigned int value);
// A number as "%g" prints it.
std::string num(double value);
// A matrix whose entries count up from `start`.
emMatrix<double> distinctMatrix(double start);

// What one class level reads back as: the marks of its object and the rows of its own fields;
// `shared` as FieldValues::add takes it.
struct Level
{
    Level() = default;
    Level(std::string marks, Rows rows, Rows shared = {})
        : marks(std::move(marks)), rows(std::move(rows)), shared(std::move(shared))
    {}
    std::string marks;
    Rows rows;
    Rows shared;
};

// Gives the fields of the class levels it knows values that tell them apart, none the default,
// and its bools those of the pattern.
class LevelFiller
{
public:
    virtual ~LevelFiller() = default;
    // False when this filler does not know the level.
    virtual bool fill(const std::string& level, emClassObject* object, const Flags& on, Level& out) = 0;
};

// The utility and scene-graph levels, with the objects their references point at.
class SceneGraphLevels : public LevelFiller
{
public:
    bool fill(const std::string& level, emClassObject* object, const Flags& on, Level& out) override;

    olState state{"state"};
    olGeometry geometry{"geometry"};
    kiCullRecordFactory factory{"factory"};
    olLight light{"light"};
    olFog fog{"fog"};
    olChannel channel{"channel"};
    kiChannelBin bin{"bin"};
    kiLightPoint::Control control{"control"};
    kiLODFilter filter{"filter"};
    olTransform::ElementModelView modelView;
    kiNode sortNode{"sort node"};
    olMaterial sortMaterial{"sort material"};
};

// The application levels (geometry containers, pageable geometry, positionable objects,
// coordinate systems and converters, the application's nodes), with the objects they point at.
class ApplicationLevels : public LevelFiller
{
public:
    ApplicationLevels();
    ~ApplicationLevels() override;
    bool fill(const std::string& level, emClassObject* object, const Flags& on, Level& out) override;

    akCoordConverter converter;      // the positionable level's converter
    akCoordConverter nodeConverter;  // the converter of scenes and transforms
    akPositionable::Strategy strategy{"strategy"};
    akCoordSys coordSys{"coordinate system"};
    akCoordSys::Ellipsoid ellipsoid{"ellipsoid"};
    akCoordSys::Projection projection{"projection"};
    akCoordConverter::GeoRefMatrix geoRef{"geo-reference"};
    akGeometry::Attribute attribute{"attribute"};
    kiNode* namedNode;  // nodes are reference counted
    kiGeometry* geometryNode;
    kiLight* lightNode;
    akObject* copySource;
    olTexture texture{"texture"};
    kiLODFilter loaderFilter{"loader filter"};
    emPalette palette;
};

// The class levels of a record type: the type's class name, then its base levels in call order
// (one, or two for a class with a second host base).
struct Levels
{
    std::string type;
    std::vector<Levels> bases;
};
// Levels nested in one line: {"kiGeometry", "kiGeometryBase", "kiNode", "emBase", "emMemBase"}.
Levels line(const std::vector<const char*>& names);
// A level on top of the given base levels.
Levels on(const char* type, const Levels& base);
Levels on(const char* type, const Levels& base, const Levels& second);

// Fills every level of the host object (the first filler that knows a level fills it), adds each
// level's own rows to `fields` and returns the rows objectRows() gives for the record with every
// base level expanded; `marks` receives the marks of the record's own level.
Rows fillLevels(const Levels& levels, emClassObject* object, const std::vector<LevelFiller*>& fillers, const Flags& on,
                schemasupport::FieldValues& fields, std::string& marks);
// The paths of every nested base level, for objectRows()'s expand list.
Rows basePaths(const Levels& levels, const std::string& prefix = "");

// Host objects to round-trip: named ones, and records without a name.
template <class C>
emClassObject* make()
{
    return new C("object");
}
template <class C>
emClassObject* makeRecord()
{
    return new C;
}

// Under each bool pattern, makes a host object, fills its levels, writes it under its record type,
// reads it back and checks the object's type, address and marks, every row of every level, and
// that the reader consumed exactly the bytes written; then that the values told the fields of
// every level apart.
void expectRoundTrip(const Levels& levels, emClassObject* (*make)(), const std::vector<LevelFiller*>& fillers);

}  // namespace levelsupport
