// Coordinate systems (with their ellipsoids and projections) and coordinate converters (with
// their geo-references). Referenced objects are not owned: their creator keeps them alive.
//
// Getters without an exported host name (virtual):
//   akCoordSys::Ellipsoid::getDatumShiftX/Y/Z, getSemiMajorAxis, getSemiMinorAxis,
//   getEccentricity, getEccentricitySquared
//   akCoordSys::Projection::getEllipsoid
#pragma once

#include <embase.h>
#include <emvalues.h>

class akCoordSys : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum Type : int { TYPE_LOCAL = 0, TYPE_GEODETIC = 1, TYPE_GEOCENTRIC = 2, TYPE_PROJECTED = 3 };
    enum LinearUnits : int {
        LINEAR_UNITS_MILLIMETERS = 0,
        LINEAR_UNITS_CENTIMETERS = 1,
        LINEAR_UNITS_INCHES = 2,
        LINEAR_UNITS_FEET = 3,
        LINEAR_UNITS_METERS = 4,
        LINEAR_UNITS_KILOMETERS = 5,
        LINEAR_UNITS_MILES = 6,
        LINEAR_UNITS_NAUTICAL_MILES = 7
    };
    enum AngularUnits : int {
        ANGULAR_UNITS_ARCSECONDS = 0,
        ANGULAR_UNITS_SECONDS = 1,
        ANGULAR_UNITS_ARCMINUTES = 2,
        ANGULAR_UNITS_MINUTES = 3,
        ANGULAR_UNITS_DEGREES = 4,
        ANGULAR_UNITS_RADIANS = 5
    };

    // The earth's shape: an ellipsoid with its datum shift.
    class Ellipsoid : public emBase
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        // A sphere when both axes are equal.
        explicit Ellipsoid(const char* name = nullptr, double semiMajor = 6378137.0, double semiMinor = 6356752.314245)
            : emBase(name), m_semiMajor(semiMajor), m_semiMinor(semiMinor)
        {}

        virtual double getDatumShiftX() const { return m_shift[0]; }
        virtual double getDatumShiftY() const { return m_shift[1]; }
        virtual double getDatumShiftZ() const { return m_shift[2]; }
        virtual double getSemiMajorAxis() const { return m_semiMajor; }
        virtual double getSemiMinorAxis() const { return m_semiMinor; }
        // From the axes: e^2 = 1 - b^2 / a^2.
        virtual double getEccentricitySquared() const;
        virtual double getEccentricity() const;

        void setDatumShift(double x, double y, double z);
        void setAxes(double semiMajor, double semiMinor);

    private:
        double m_shift[3] = {0.0, 0.0, 0.0};
        double m_semiMajor;
        double m_semiMinor;
    };

    // A sphere of a radius the application chooses.
    class CustomSphere : public Ellipsoid
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        explicit CustomSphere(const char* name = nullptr, double radius = 6371000.0) : Ellipsoid(name, radius, radius)
        {}
    };

    // The host's default sphere (mean earth radius).
    class DefaultSphere : public Ellipsoid
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        explicit DefaultSphere(const char* name = nullptr) : Ellipsoid(name, 6371000.0, 6371000.0) {}
    };

    // A map projection on an ellipsoid.
    class Projection : public emBase
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        explicit Projection(const char* name = nullptr) : emBase(name) {}
        virtual const Ellipsoid* getEllipsoid() const { return m_ellipsoid; }
        void setEllipsoid(const Ellipsoid* ellipsoid) { m_ellipsoid = ellipsoid; }

    private:
        const Ellipsoid* m_ellipsoid = nullptr;
    };

    explicit akCoordSys(const char* name = nullptr) : emBase(name) {}

    Type getType() const { return m_type; }
    const Ellipsoid* getEllipsoid() const { return m_ellipsoid; }
    const Projection* getProjection() const { return m_projection; }
    LinearUnits getLinearUnits() const { return m_linearUnits; }
    AngularUnits getAngularUnits() const { return m_angularUnits; }

    void setType(Type type) { m_type = type; }
    void setEllipsoid(const Ellipsoid* ellipsoid) { m_ellipsoid = ellipsoid; }
    void setProjection(const Projection* projection) { m_projection = projection; }
    void setLinearUnits(LinearUnits units) { m_linearUnits = units; }
    void setAngularUnits(AngularUnits units) { m_angularUnits = units; }

private:
    Type m_type = TYPE_LOCAL;
    const Ellipsoid* m_ellipsoid = nullptr;
    const Projection* m_projection = nullptr;
    LinearUnits m_linearUnits = LINEAR_UNITS_METERS;
    AngularUnits m_angularUnits = ANGULAR_UNITS_DEGREES;
};

// Converts positions between the application's coordinate system and the scene's.
class akCoordConverter : public emMemBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum Root : int { ROOT_SELF = 0, ROOT_GEOREF_MATRIX = 1, ROOT_GEOREF_VEC3 = 2 };

    // Where the scene's origin lies.
    class GeoRef : public emBase
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        enum Type : int { TYPE_MATRIX = 0, TYPE_VEC3 = 1 };

        explicit GeoRef(const char* name = nullptr, Type type = TYPE_MATRIX) : emBase(name), m_type(type) {}

        const akCoordSys::Ellipsoid* getEllipsoid() const { return m_ellipsoid; }
        const akCoordSys::Projection* getProjection() const { return m_projection; }
        Type getType() const { return m_type; }

        void setEllipsoid(const akCoordSys::Ellipsoid* ellipsoid) { m_ellipsoid = ellipsoid; }
        void setProjection(const akCoordSys::Projection* projection) { m_projection = projection; }

    private:
        const akCoordSys::Ellipsoid* m_ellipsoid = nullptr;
        const akCoordSys::Projection* m_projection = nullptr;
        Type m_type;
    };

    // A geo-reference given as a matrix.
    class GeoRefMatrix : public GeoRef
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        explicit GeoRefMatrix(const char* name = nullptr) : GeoRef(name, TYPE_MATRIX) {}
        const emMatrix<double>& getMatrix() const { return m_matrix; }
        void setMatrix(const emMatrix<double>& matrix) { m_matrix = matrix; }

    private:
        emMatrix<double> m_matrix = emMatrix<double>::identity();
    };

    // A geo-reference given as latitude, longitude and elevation.
    class GeoRefVec3 : public GeoRef
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        explicit GeoRefVec3(const char* name = nullptr) : GeoRef(name, TYPE_VEC3) {}
        const emVec3<double>& getLLE() const { return m_lle; }
        void setLLE(const emVec3<double>& lle) { m_lle = lle; }

    private:
        emVec3<double> m_lle;
    };

    akCoordConverter() = default;

    const akCoordSys::Ellipsoid* getResolvedEllipsoid() const { return m_resolvedEllipsoid; }
    const akCoordSys::Projection* getResolvedProjection() const { return m_resolvedProjection; }
    const akCoordSys* getCoordSys() const { return m_coordSys; }
    const GeoRef* getGeoRef() const { return m_geoRef; }
    Root getRoot() const { return m_root; }
    bool getQuaternionEnable() const { return m_quaternionEnable; }

    // Sets the coordinate system and resolves its ellipsoid and projection.
    void setCoordSys(const akCoordSys* coordSys);
    void setResolved(const akCoordSys::Ellipsoid* ellipsoid, const akCoordSys::Projection* projection);
    // Sets the geo-reference and the root it gives (ROOT_SELF for none).
    void setGeoRef(const GeoRef* geoRef);
    void setRoot(Root root) { m_root = root; }
    void setQuaternionEnable(bool enable) { m_quaternionEnable = enable; }

private:
    const akCoordSys::Ellipsoid* m_resolvedEllipsoid = nullptr;
    const akCoordSys::Projection* m_resolvedProjection = nullptr;
    const akCoordSys* m_coordSys = nullptr;
    const GeoRef* m_geoRef = nullptr;
    Root m_root = ROOT_SELF;
    bool m_quaternionEnable = false;
};
