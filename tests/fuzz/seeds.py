# Writes the seed corpora of the fuzz targets (tests/fuzz/corpus/<target>/):
# well-formed files like the ones the program meets, and a few broken ones.
#   python3 tests/fuzz/seeds.py
import os, struct

root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
out = os.path.join(root, 'tests/fuzz/corpus')
def put(target, name, data):
    d = os.path.join(out, target); os.makedirs(d, exist_ok=True)
    if isinstance(data, str): data = data.encode('latin-1')
    open(os.path.join(d, name), 'wb').write(data)

# --- POD archives: the layout of the simulator's archives
def pack(entries, count=None, diroff=None):
    pod = bytearray(276); pod[0:4] = b'POD3'
    offsets = []
    for n, d in entries:
        offsets.append(len(pod)); pod += d
    directory = len(pod)
    struct.pack_into('<I', pod, 88, len(entries) if count is None else count & 0xffffffff)
    struct.pack_into('<I', pod, 264, directory if diroff is None else diroff & 0xffffffff)
    for (n, d), off in zip(entries, offsets):
        rec = bytearray(20); struct.pack_into('<I', rec, 4, len(d)); struct.pack_into('<I', rec, 8, off); pod += rec
    for n, d in entries:
        pod += n.encode('latin-1') + b'\0'
    return bytes(pod)

demo = os.path.join(root, 'demo/aircraft')
for plane in sorted(os.listdir(demo)):
    folder = os.path.join(demo, plane)
    entries = [(f, open(os.path.join(folder, f), 'rb').read()) for f in sorted(os.listdir(folder))]
    put('pod', plane + '.pod', pack(entries))
svh = b'<acid>\r\nF-ABCD\r\n<048a>\r\n200\r\n<043a>\r\n1\r\n<045a>\r\n-5\r\n<044a>\r\n99999999999\r\n<CEIL>\r\n'
nfo = b'<make>\nSans fin'
put('pod', 'crlf-and-last-tag.pod', pack([('X.NFO', nfo), ('X.SVH', svh)]))
put('pod', 'empty.pod', b'')
put('pod', 'header-only.pod', pack([]))
put('pod', 'count-larger-than-file.pod', pack([('A.SVH', svh)], count=0x7fffffff))
put('pod', 'negative-count.pod', pack([('A.SVH', svh)], count=-1))
put('pod', 'directory-past-end.pod', pack([('A.SVH', svh)], diroff=0x7ffffff0))
put('pod', 'negative-directory.pod', pack([('A.SVH', svh)], diroff=-20))
p = bytearray(pack([('A.SVH', svh), ('B.NFO', nfo)]))
struct.pack_into('<i', p, 276 + len(svh) + len(nfo) + 4, 0x7fffffff)   # size of the first entry
put('pod', 'entry-size-past-end.pod', bytes(p))
p = bytearray(pack([('A.SVH', svh)]))
struct.pack_into('<i', p, 276 + len(svh) + 8, -276)                     # negative offset
put('pod', 'entry-negative-offset.pod', bytes(p))
p = pack([('A.SVH', svh)])
put('pod', 'names-cut.pod', p[:-3])
put('pod', 'long-name.pod', pack([('N' * 400 + '.SVH', svh)]))
put('pod', 'latin1-text.pod', pack([('A.NFO', b'<make>\n\xc9cole\xff'), ('A.SVH', svh)]))

# --- flight plans
def fpl(points, version=3, ceiling=14000):
    s = '<bgno> == Generated with corvane Navigator ==\n\t<form> ---- Format Type -----------------\n\twpno=1, format=FM01\n'
    s += '\t<desc> ========== Description ===========\n\tFlight plan from %s to %s\n' % (points[0][2], points[-1][2])
    s += '\t<vers> ---------- Version number --------\n\t%d\n\t<ceil> -----------Average ceil ----------\n\t%d\n' % (version, ceiling)
    for kind, name, ident, llps, key, usage, alt in points:
        s += '\t<wpnt> --------- Waypoint ---------------\n\t%s\n\t<bgno> ========== BEGIN OBJECT ==========\n' % kind
        for tag, v in (('<name> ---------- Waypoint name ---------', name), ('<iden> ---------- Waypoint identity -----', ident),
                       ('<llps> ---------- Lat/lon,alt position --', llps), ('<dbky> ---------- Database key ----------', key),
                       ('<user> ---------- Waypoint usage --------', usage), ('<altd> --- Altitude (feet) at WPT -------', alt),
                       ('<tkof> --- Take off runway --------------', 'NONE'), ('<land> --- Landing runway ---------------', 'NONE'),
                       ('<mark> --- Terminated mark- -------------', '')):
            s += '\t\t%s\n\t\t%s\n' % (tag, v)
        s += '\t<endo> ========== END OBJECT ============\n'
    return s + '<endo> ========== END OBJECT ============\n'
pts = [('airp', 'PARIS CHARLES DE GAULLE', 'LFPG', '176400.123,9000.500,392', 'LFPG', 'airp', '0'),
       ('snav', 'PONTOISE', 'PON', '177300.000,7400.000,0', 'PON1', 'snav', '5500'),
       ('uswp', 'WP001', 'WP001', '178000.000,-3600.000,0', 'NONE', 'uswp', '5500'),
       ('airp', "Nice/Côte d'Azur", 'LFMN', '157000.000,26000.000,12', 'LFMN', 'airp', '0')]
put('fpl', 'plan.fpl', fpl(pts))
put('fpl', 'plan-utf8.fpl', fpl(pts).encode('latin-1').decode('latin-1').encode('utf-8'))
put('fpl', 'plan-crlf.fpl', fpl(pts).replace('\n', '\r\n'))
put('fpl', 'minimal.fpl', '<wpnt>\nairp\n<name>\nA\n<iden>\nAAAA\n<llps>\n1,2,3\n<wpnt>\nuswp\n<name>\nB\n<llps>\n4,5\n')
put('fpl', 'odd-values.fpl', '<vers>\n-2147483649\n<wpnt> x\nairp\n  <name> word\n Orly \n<llps>junk\nnan,inf,1e999\n<altd> feet\n 99999999999 \n'
    '<wpnt>\nuswp\n<name>\n"quoted" \\ </script>\n<llps>\n-1e308,1e308,-5\n<mark>\n')
put('fpl', 'tags-without-values.fpl', '<name>\n<iden>\n<wpnt>\nuswp\n<llps>')
put('fpl', 'empty.fpl', '')

# --- ini files: first line is the start airport
ini = open(os.path.join(root, 'demo/Corvane.ini'), 'rb').read()
put('ini', 'demo.ini', b'Orly\n' + ini)
put('ini', 'demo-crlf.ini', b'Paris Charles de Gaulle\n' + ini.replace(b'\n', b'\r\n'))
put('ini', 'no-final-newline.ini', b'Nice/Cote d\'Azur\n[Main]\r\nstartupSituation=x\r\nlanguage=FR')
put('ini', 'several-entries.ini', b'A:B*C?\n startupSituation=not this one\nstartupSituation=one\nstartupSituationX\n\nstartupSituation\r\n\r\n')
put('ini', 'no-entry.ini', b'\xc9vreux\n[Main]\nlanguage=FR\n')
put('ini', 'empty-name.ini', b'\n\n')
put('ini', 'name-only.ini', b'Toulouse Blagnac')

# --- update files
gen_nav = 'GEN;NAV;+;1;LFPG1;TST;TEST VOR;117.05;0.5;0;FR;;17;0;3;176400.5;8000;300;0;130'
upd = {
 'nav.CSV': 'GEN;NAV;-;ukey;;\n' + gen_nav + '\nGEN;NAV;+;2;K2;ID2;Ch\xe2teau d\'eau;356;0;0;FR;;8;0;4;-1.25;1296000;0;0;25;\n',
 'wpt.CSV': 'WPT;WPT;-;ukey;;\nWPT;WPT;+;1;ZZ;ZZFR;ZZ;FR;;78;1;4;0;0;0;0;0;0;\n',
 'delete.CSV': 'GEN;NAV;-;ukey;LFPG1\nGEN;NAV;-;name;x\' OR \'1\'=\'1\nGEN;NAV;-;nothing;x\nGEN;NAV;-;ukey\nGEN;NAV;-\n',
 'obj.CSV': 'OBJ;FNM;-;scene;DEMO;\nOBJ;OBJ;+;1359;1;758775;17550428;1;0;15979;0;7587.754;175504.282;0;0;15;house.smf;0;0;0;0;\n'
            'OBJ;Light;+;1;2;x.smf;1;255;0;3;0;0;2;0;3.5\n',
 'txy.CSV': 'TXY;Node;+;LFPN;1;0;0;0;0;0;0;0\nTXY;Light;+;ZZZZ;1;0;255;0;0;1;0102\nTXY;Arcs;-;ukey;\n',
 'm3d.CSV': 'M3D;TEXTURE;+;blob.tga;1;1;00ff10AB\nM3D;TEXTURE;+;bad.tga;1;1;0g\nM3D;MOD;-;name;x\n',
 'osm.CSV': 'OSM\nOSM.db\n24564411\n\nw153306871\r\nn2208815560\n',
 'osm-bad-name.CSV': 'OSM\n../OSM.db\n1\n',
 'unknown.CSV': 'GEN;nav;-;ukey;X\n',
 'unknown-db.CSV': '\nXYZ;A;+\n',
 'short.CSV': 'WPT;WPT;+\nTXY\n',
 'placeholder.CSV': 'GEN;%2;+;x\n',
}
for k, v in upd.items(): put('update', k, v)

# --- navigation blocks
def block(size, lat, lon, marker):
    b = bytearray(size)
    if size >= 72:
        struct.pack_into('<d', b, 32, lat); struct.pack_into('<d', b, 40, lon); struct.pack_into('<d', b, 64, marker)
    return bytes(b)
put('navblock', 'orly.bin', block(256, 175464.0, 8740.0, 1.0))
put('navblock', 'window-only.bin', block(80, -324000.0, 647999.9, -0.5))
put('navblock', 'zero.bin', block(256, 0, 0, 0))
put('navblock', 'too-small.bin', block(72, 1, 2, 3))
put('navblock', 'empty.bin', b'')
put('navblock', 'not-finite.bin', block(96, float('nan'), float('inf'), float('-inf')))
put('navblock', 'huge.bin', block(80, 1e308, -1e308, 5e-324))
