// Public interface of the model library: loaded models live in module-level tables and are
// addressed by plain int indices (fi file, mi material, ki map slot, vi vertex, si surface,
// pi polygon, li line). A bad index is a caller's error and ends the program with its test.
#pragma once

namespace obj {

// Map slot of a material (the value of ki).
enum ObjKind : int {
    diffuse = 0,    // "Kd" colour (fourth element: opacity "d"), "map_Kd"
    ambient = 1,    // "Ka", "map_Ka"
    emission = 2,   // "Ke", "map_Ke"
    specular = 3,   // "Ks", "map_Ks"
    shininess = 4,  // "Ns" exponent in the first element, "map_Ns"
};

// The number of map slots of a material.
inline constexpr int kindCount = 5;

// Map flag bit: clamp texture coordinates instead of repeating them.
inline constexpr int MAP_CLAMP = 1;

// Files. createFile with a path reads that OBJ file (an unreadable path gives an empty
// file); with null it makes an empty file. Creates return the new index or -1.
int createFile(const char* path);
void deleteFile(int fi);
int fileCount();

// The largest OBJ text createFile reads, 1 GiB: far beyond any model drawn in real time, and
// a bound on what an endless input (a device such as /dev/zero, a pipe that never ends) can
// cost. A longer input is refused after that many bytes and gives an empty file, as does a
// path that cannot be opened or that names a folder.
inline constexpr long long maxModelBytes = 1LL << 30;

// Why the last createFile with a path gave an empty file instead of its model: a message
// such as "Is a directory" (the system's text for why it could not be opened) or "File is longer
// than the largest model read (1 GiB)", or null when the model was read.
const char* lastReadError();

// Materials and their five map slots. Colours are 4 floats, offsets and scales 3.
int createMaterial(int fi);
void deleteMaterial(int fi, int mi);
int materialCount(int fi);
void setMaterialName(int fi, int mi, const char* name);
const char* getMaterialName(int fi, int mi);
void setMaterialMap(int fi, int mi, int ki, const char* path);
unsigned int getMaterialTexture(int fi, int mi, int ki);
void setMaterialFlags(int fi, int mi, int ki, int flags);
int getMaterialFlags(int fi, int mi, int ki);
void setMaterialColor(int fi, int mi, int ki, const float* color);
void getMaterialColor(int fi, int mi, int ki, float* color);
void setMaterialOffset(int fi, int mi, int ki, const float* offset);
void getMaterialOffset(int fi, int mi, int ki, float* offset);
void setMaterialScale(int fi, int mi, int ki, const float* scale);
void getMaterialScale(int fi, int mi, int ki, float* scale);

// Vertices. Positions and normals are 3 floats, texture coordinates 2.
int createVertex(int fi);
void deleteVertex(int fi, int vi);
int vertexCount(int fi);
void setVertexPosition(int fi, int vi, const float* position);
void getVertexPosition(int fi, int vi, float* position);
void setVertexTexcoord(int fi, int vi, const float* texcoord);
void getVertexTexcoord(int fi, int vi, float* texcoord);
void setVertexNormal(int fi, int vi, const float* normal);
void getVertexNormal(int fi, int vi, float* normal);

// Surfaces, their triangles (3 vertex indices) and line segments (2 vertex indices).
int createSurface(int fi);
void deleteSurface(int fi, int si);
int surfaceCount(int fi);
void setSurfaceMaterial(int fi, int si, int mi);
int getSurfaceMaterial(int fi, int si);
int createPolygon(int fi, int si);
void deletePolygon(int fi, int si, int pi);
int polygonCount(int fi, int si);
void setPolygon(int fi, int si, int pi, const int* vi);
void getPolygon(int fi, int si, int pi, int* vi);
int createLine(int fi, int si);
void deleteLine(int fi, int si, int li);
int lineCount(int fi, int si);
void setLine(int fi, int si, int li, const int* vi);
void getLine(int fi, int si, int li, int* vi);

// Post-load geometry: adds each triangle's unit normal into its three vertex normals.
void sumFaceNormals(int fi);

// What writeModel reports: the path (one of its arguments) of the first file that could not be
// written whole, null when every file asked for was, and the errno value of the reason.
struct WriteResult {
    const char* failedPath = nullptr;
    int error = 0;
    explicit operator bool() const { return failedPath == nullptr; }
};

// Writes file fi as OBJ text to objPath and its materials as MTL text to mtlPath; either path
// may be null. Each file is replaced whole or not at all: one that fails keeps its old contents,
// and the other one is still written.
WriteResult writeModel(int fi, const char* objPath, const char* mtlPath);

// GL extensions the drawing uses, found once per process (needs a current context), and
// whether name is listed in the GL extension string.
void probeGlExtensions();
bool hasGlExtension(const char* name);

// Drawing with fixed-function GL (a context must be current). drawModel draws every
// surface of file fi with its material; drawTangentFrames draws each vertex's tangent (red),
// second tangent (green) and normal (blue) as lines of the given length.
void drawModel(int fi);
void drawTangentFrames(int fi, float length);

// Drops the file's GL vertex buffer; the next draw uploads the vertices again.
void releaseVertexBuffer(int fi);

}  // namespace obj
