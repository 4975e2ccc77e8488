#include "benchproject.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

namespace {

// Blocks of plausible UDF code. @NAME@, @NAME2@ and @NAME3@ become unique function names, @A@ and
// @B@ numbers, @FILE@ the file number.

const char fileHead[] = R"src(/*
 * bench_udf_@FILE@: boundary conditions, sources and material properties of case @FILE@.
 * Generated for the Kestrune benchmark; the functions only look plausible.
 */
#include "udf.h"
#include "sg_mem.h"

#define RHO_REF 1.225
#define LIMIT(x, lo, hi) ((x) < (lo) ? (lo) : ((x) > (hi) ? (hi) : (x)))

static const char *case_name = "case @FILE@ // not a comment";

)src";

const char profileBlock[] = R"src(/* Inlet velocity: parabolic profile scaled by the ramp factor. */
DEFINE_PROFILE(@NAME@, thread, position)
{
    real x[ND_ND];
    real y, h = 0.05;
    face_t f;
    begin_f_loop(f, thread)
    {
        F_CENTROID(x, f, thread);
        y = x[1];
        F_PROFILE(f, thread, position) = @A@ * (1.0 - y * y / (h * h)); // peak velocity
    }
    end_f_loop(f, thread)
}
)src";

const char sourceBlock[] = R"src(DEFINE_SOURCE(@NAME@,
              c,
              t,
              dS,
              eqn)
{
    real temperature = C_T(c, t);
    real source = -@A@ * (temperature - 300.0);
    dS[eqn] = -@A@; /* linearised around the reference temperature */
    return source;
}
)src";

const char onDemandBlock[] = R"src(DEFINE_ON_DEMAND( @NAME@ )
{
    char separator = '\'';
    Message("Report of %s: see http://example.org/udf/report\n", case_name);
    Message("\"DEFINE_ADJUST(fake, d)\" is only text /* here */\n");
    Message("%c done\n", separator);
}
)src";

const char propertyBlock[] = R"src(DEFINE_PROPERTY(@NAME@, c, t)
{
    real temp = C_T(c, t);
    real mu_lam;
    if (temp > 288.)
        mu_lam = 5.5e-3;
    else if (temp > 286.)
        mu_lam = 143.2135 - 0.49725 * temp;
    else
        mu_lam = @A@;
    return LIMIT(mu_lam, 1.0e-5, 1.0);
}
)src";

const char particleBlock[] = R"src(DEFINE_DPM_BODY_FORCE (@NAME@, p, i)
{
    real bforce = 0;
    if (P_TIME(p) >= @A@)
        bforce = 2.0 * P_CHARGE(p) / P_MASS(p);
    return bforce; // acceleration in direction i
}
)src";

const char adjustBlock[] = R"src(DEFINE_ADJUST(@NAME@, domain)
{
    Thread *t;
    cell_t c;
    real volume_total = 0.0;
    thread_loop_c(t, domain)
    {
        begin_c_loop(c, t)
        volume_total += C_VOLUME(c, t);
        end_c_loop(c, t)
    }
    Message("volume of @NAME@ = %g\n", volume_total);
}

DEFINE_INIT(@NAME2@, domain)
{
    cell_t c;
    Thread *t;
    thread_loop_c(t, domain)
    {
        begin_c_loop_all(c, t)
        {
            C_T(c, t) = @A@;
        }
        end_c_loop_all(c, t)
    }
}

DEFINE_EXECUTE_AT_END(@NAME3@)
{
    Message("end of step\n");
}
)src";

const char commentedOutBlock[] = R"src(/*
 * Superseded by the adjust function above; kept for the record.
 *
DEFINE_ADJUST(@NAME@, domain)
{
    Thread *t;
    // DEFINE_INIT(nested_@NAME@, d)
}
 */
// DEFINE_PROFILE(@NAME2@, thread, position)
)src";

const char helperBlock[] = R"src(/*
 * Heat transfer coefficient of the wall zone from the Dittus-Boelter correlation, limited to
 * the range the experiments covered. Re and Pr are taken at the cell next to the wall.
 */
static real @NAME@(cell_t c, Thread *t, real hydraulic_diameter)
{
    real rho = C_R(c, t);
    real mu = C_MU_L(c, t);
    real k = C_K_L(c, t);
    real cp = C_CP(c, t);
    real speed = sqrt(C_U(c, t) * C_U(c, t) + C_V(c, t) * C_V(c, t));
    real re = rho * speed * hydraulic_diameter / mu;
    real pr = cp * mu / k;
    real nu;
    int iteration;

    if (re < 2300.0) {
        nu = 3.66; /* laminar, fully developed */
    } else {
        nu = 0.023 * pow(re, 0.8) * pow(pr, 0.4);
    }
    for (iteration = 0; iteration < @B@; ++iteration) {
        /* relax towards the fitted value */
        nu = 0.5 * (nu + @A@ * pow(re, 0.3));
    }
    return LIMIT(nu * k / hydraulic_diameter, 1.0, 1.0e5);
}

static real @NAME2@(real x)
{
    static const real coefficients[] = { 1.0, -@A@, 0.25, 3.5e-2, -1.25e-3, 4.0e-5 };
    real sum = 0.0;
    int i;
    for (i = 5; i >= 0; --i)
        sum = sum * x + coefficients[i]; /* Horner */
    return sum;
}
)src";

const char cppBlock[] = R"src(static const char *@NAME@ = R"udf(usage: // DEFINE_X(y)
  see the "manual" )udf";
static const long @NAME2@ = 1'000'000;
extern "C" DEFINE_ON_DEMAND(@NAME3@)
{
    Message("%ld cells\n", 1'000L);
}
)src";

// Builds the text of one source: a file head, then blocks until the wanted size is reached.
class SourceWriter {
public:
    SourceWriter(int fileIndex, bool cpp) : file(fileIndex), cpp(cpp), random(1000 + fileIndex) { }

    QByteArray write(qint64 wantedBytes);

private:
    void addBlock();
    void append(const char *block);
    QByteArray name();
    QByteArray number();

    const int file;
    const bool cpp;
    int block = 0;
    QRandomGenerator random;
    QByteArray text;
};

QByteArray SourceWriter::write(qint64 wantedBytes)
{
    text = QByteArray(fileHead).replace("@FILE@", QByteArray::number(file));
    while (text.size() < wantedBytes)
        addBlock();
    return text;
}

// About one definition per 1.8 KB, as in projects whose functions call helpers of their own: the
// definition blocks (eight definitions, one commented-out pair) and as many helper blocks.
void SourceWriter::addBlock()
{
    static const char *const definitionBlocks[] = { profileBlock, sourceBlock, onDemandBlock,
        propertyBlock, particleBlock, adjustBlock, commentedOutBlock };
    const int definitionCount = int(std::size(definitionBlocks));
    const int choices = 2 * definitionCount + 1 + (cpp ? 1 : 0);
    const int pick = random.bounded(choices);
    if (pick < definitionCount)
        append(definitionBlocks[pick]);
    else if (pick < choices - (cpp ? 1 : 0))
        append(helperBlock);
    else
        append(cppBlock);
    text += "\n";
}

// Each draw is a statement of its own, so that the text does not depend on the compiler's order
// of evaluation.
void SourceWriter::append(const char *block)
{
    const QByteArray first = name();
    const QByteArray second = name();
    const QByteArray third = name();
    const QByteArray a = number();
    const QByteArray b = QByteArray::number(random.bounded(2, 9));
    text += QByteArray(block)
                .replace("@NAME@", first)
                .replace("@NAME2@", second)
                .replace("@NAME3@", third)
                .replace("@A@", a)
                .replace("@B@", b);
}

QByteArray SourceWriter::name()
{
    static const char *const stems[] = { "inlet", "wall", "outlet", "bed", "jet", "zone" };
    const char *stem = stems[random.bounded(int(std::size(stems)))];
    return stem + QByteArray("_") + QByteArray::number(file) + "_" + QByteArray::number(++block);
}

QByteArray SourceWriter::number()
{
    const int whole = random.bounded(1, 999);
    const int tenths = random.bounded(10);
    return QByteArray::number(whole) + "." + QByteArray::number(tenths);
}

} // namespace

QStringList writeBenchProject(const QString &folder, int sourceCount, qint64 totalBytes)
{
    if (sourceCount <= 0 || !QDir().mkpath(folder))
        return {};
    QStringList paths;
    const qint64 perSource = totalBytes / sourceCount;
    for (int i = 0; i < sourceCount; ++i) {
        const bool cpp = i % 20 == 19;
        const QString path
            = folder + QString("/bench_udf_%1.%2").arg(i, 3, 10, QChar('0')).arg(cpp ? "cpp" : "c");
        QFile source(path);
        if (!source.open(QIODevice::WriteOnly))
            return {};
        const QByteArray text = SourceWriter(i, cpp).write(perSource);
        if (source.write(text) != text.size())
            return {};
        paths << path;
    }
    return paths;
}
