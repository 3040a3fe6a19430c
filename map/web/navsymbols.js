// Chart symbols of the map, drawn on canvas: no image files.
//
// NavSymbols.sprite(name) gives a small canvas holding the symbol, drawn
// once per device pixel ratio and reused by every frame; NavSymbols.draw
// draws a symbol straight into a 2D context (the legend uses it).
(function () {
    'use strict';

    var COLORS = {
        airport: '#1a4c9c',
        vor: '#1d3f86',
        ndb: '#8a3385',
        wptRte: '#16606a',
        wptTerm: '#b25a12',
        wptVfr: '#c2185b',
        route: '#c000c0',
        procedure: '#0a8a3a',
        halo: '#ffffff'
    };

    function hexagon(ctx, r) {
        ctx.beginPath();
        for (var i = 0; i < 6; ++i) {
            var a = Math.PI / 3 * i;
            var x = r * Math.cos(a), y = r * Math.sin(a);
            if (i === 0)
                ctx.moveTo(x, y);
            else
                ctx.lineTo(x, y);
        }
        ctx.closePath();
    }

    function dot(ctx, x, y, r) {
        ctx.beginPath();
        ctx.arc(x, y, r, 0, Math.PI * 2);
        ctx.fill();
    }

    // Each painter draws around (0, 0) and says how much room it needs.
    var PAINTERS = {
        // Aerodrome: a ring with a runway through it.
        airport: {
            size: 18,
            paint: function (ctx) {
                ctx.save();
                ctx.rotate(Math.PI / 9);
                ctx.fillStyle = '#ffffff';
                ctx.fillRect(-2.6, -8.5, 5.2, 17);
                ctx.fillStyle = COLORS.airport;
                ctx.fillRect(-1.5, -7.5, 3, 15);
                ctx.restore();
                ctx.lineWidth = 2;
                ctx.strokeStyle = COLORS.airport;
                ctx.beginPath();
                ctx.arc(0, 0, 4.8, 0, Math.PI * 2);
                ctx.stroke();
            }
        },
        // VOR: a hexagon with a centre dot.
        vor: {
            size: 16,
            paint: function (ctx) {
                ctx.lineWidth = 1.6;
                ctx.strokeStyle = COLORS.vor;
                ctx.fillStyle = 'rgba(255,255,255,0.75)';
                hexagon(ctx, 6);
                ctx.fill();
                ctx.stroke();
                ctx.fillStyle = COLORS.vor;
                dot(ctx, 0, 0, 1.6);
            }
        },
        // VOR-DME: the hexagon inside a rectangle.
        vordme: {
            size: 18,
            paint: function (ctx) {
                ctx.lineWidth = 1.4;
                ctx.strokeStyle = COLORS.vor;
                ctx.fillStyle = 'rgba(255,255,255,0.75)';
                ctx.fillRect(-7.5, -6.5, 15, 13);
                ctx.strokeRect(-7.5, -6.5, 15, 13);
                hexagon(ctx, 5.5);
                ctx.stroke();
                ctx.fillStyle = COLORS.vor;
                dot(ctx, 0, 0, 1.5);
            }
        },
        // VORTAC and TACAN: the hexagon with three blocks on alternate sides.
        vortac: {
            size: 22,
            paint: function (ctx) {
                ctx.lineWidth = 1.4;
                ctx.strokeStyle = COLORS.vor;
                ctx.fillStyle = 'rgba(255,255,255,0.75)';
                hexagon(ctx, 5.5);
                ctx.fill();
                ctx.stroke();
                ctx.fillStyle = COLORS.vor;
                for (var i = 0; i < 3; ++i) {
                    ctx.save();
                    // the middle of every other side of the hexagon
                    ctx.rotate(-Math.PI / 3 + i * 2 * Math.PI / 3);
                    ctx.fillRect(-2.75, 4.5, 5.5, 4);
                    ctx.restore();
                }
                dot(ctx, 0, 0, 1.5);
            }
        },
        // DME: a square with a centre dot.
        dme: {
            size: 16,
            paint: function (ctx) {
                ctx.lineWidth = 1.6;
                ctx.strokeStyle = COLORS.vor;
                ctx.fillStyle = 'rgba(255,255,255,0.75)';
                ctx.fillRect(-5, -5, 10, 10);
                ctx.strokeRect(-5, -5, 10, 10);
                ctx.fillStyle = COLORS.vor;
                dot(ctx, 0, 0, 1.5);
            }
        },
        // NDB: a centre dot in two rings of dots.
        ndb: {
            size: 20,
            paint: function (ctx) {
                ctx.fillStyle = COLORS.ndb;
                dot(ctx, 0, 0, 2.2);
                var rings = [[4.6, 10, 0.9], [7.6, 16, 0.9]];
                rings.forEach(function (ring) {
                    for (var i = 0; i < ring[1]; ++i) {
                        var a = 2 * Math.PI * i / ring[1];
                        dot(ctx, ring[0] * Math.cos(a), ring[0] * Math.sin(a), ring[2]);
                    }
                });
            }
        },
        // En-route waypoint: a triangle.
        wptRte: {
            size: 14,
            paint: function (ctx) {
                ctx.lineWidth = 1.5;
                ctx.strokeStyle = COLORS.wptRte;
                ctx.fillStyle = 'rgba(255,255,255,0.8)';
                ctx.beginPath();
                ctx.moveTo(0, -5.5);
                ctx.lineTo(5, 3.5);
                ctx.lineTo(-5, 3.5);
                ctx.closePath();
                ctx.fill();
                ctx.stroke();
            }
        },
        // Terminal waypoint: a smaller triangle of its own colour.
        wptTerm: {
            size: 12,
            paint: function (ctx) {
                ctx.lineWidth = 1.3;
                ctx.strokeStyle = COLORS.wptTerm;
                ctx.fillStyle = 'rgba(255,255,255,0.8)';
                ctx.beginPath();
                ctx.moveTo(0, -4);
                ctx.lineTo(3.6, 2.6);
                ctx.lineTo(-3.6, 2.6);
                ctx.closePath();
                ctx.fill();
                ctx.stroke();
            }
        },
        // VFR reporting point: a small flag on a pole.
        wptVfr: {
            size: 14,
            paint: function (ctx) {
                ctx.strokeStyle = COLORS.wptVfr;
                ctx.fillStyle = COLORS.wptVfr;
                ctx.lineWidth = 1.3;
                ctx.beginPath();
                ctx.moveTo(-2.5, 5);
                ctx.lineTo(-2.5, -5);
                ctx.stroke();
                ctx.beginPath();
                ctx.moveTo(-2.5, -5);
                ctx.lineTo(4.5, -2.5);
                ctx.lineTo(-2.5, 0);
                ctx.closePath();
                ctx.fill();
                dot(ctx, -2.5, 5, 1.4);
            }
        },
        // A point of the flight plan.
        routePoint: {
            size: 12,
            paint: function (ctx) {
                ctx.lineWidth = 2;
                ctx.strokeStyle = COLORS.route;
                ctx.fillStyle = '#ffffff';
                ctx.beginPath();
                ctx.arc(0, 0, 4, 0, Math.PI * 2);
                ctx.fill();
                ctx.stroke();
            }
        },
        // A point of a procedure.
        procedurePoint: {
            size: 12,
            paint: function (ctx) {
                ctx.lineWidth = 2;
                ctx.strokeStyle = COLORS.procedure;
                ctx.fillStyle = '#ffffff';
                ctx.fillRect(-3.5, -3.5, 7, 7);
                ctx.strokeRect(-3.5, -3.5, 7, 7);
            }
        }
    };

    var sprites = {};
    var spriteRatio = 0;

    function sprite(name) {
        var ratio = window.devicePixelRatio || 1;
        if (ratio !== spriteRatio) {
            sprites = {};
            spriteRatio = ratio;
        }
        var cached = sprites[name];
        if (cached)
            return cached;
        var painter = PAINTERS[name];
        var canvas = document.createElement('canvas');
        canvas.width = Math.ceil(painter.size * ratio);
        canvas.height = Math.ceil(painter.size * ratio);
        var ctx = canvas.getContext('2d');
        ctx.scale(ratio, ratio);
        ctx.translate(painter.size / 2, painter.size / 2);
        painter.paint(ctx);
        sprites[name] = canvas;
        return canvas;
    }

    function draw(ctx, name, x, y) {
        ctx.save();
        ctx.translate(x, y);
        PAINTERS[name].paint(ctx);
        ctx.restore();
    }

    // A little aeroplane pointing north, for the start position and the
    // live aircraft (rotated by the marker).
    function aircraftSvg(fill, stroke) {
        return '<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="-16 -16 32 32">'
            + '<path d="M0,-14 L2,-11 L2,-4 L13,2 L13,5 L2,2 L2,9 L6,12 L6,14 L0,12.5 L-6,14 L-6,12 '
            + 'L-2,9 L-2,2 L-13,5 L-13,2 L-2,-4 L-2,-11 Z" fill="' + fill + '" stroke="' + stroke
            + '" stroke-width="1.2" stroke-linejoin="round"/></svg>';
    }

    window.NavSymbols = {
        COLORS: COLORS,
        names: Object.keys(PAINTERS),
        size: function (name) { return PAINTERS[name].size; },
        sprite: sprite,
        draw: draw,
        aircraftSvg: aircraftSvg
    };
})();
