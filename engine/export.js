// Quillop game engine. The maker fills the sections marked below with the
// game's own code and resources and writes the result as game.js.
// Not strict mode: event code of objects runs inside with(this) { ... }.
// The engine declares its globals with var and function only, never with
// let or const, so that every one of them is a property of the window (see
// qp_unexported).

var qp_version = `
//QUILLOP_VERSION
`.trim();

// ---------------------------------------------------------------- state

var qp_scenes = [];          // every scene, the first one starts the game
var qp_room_to_go = null;    // scene to enter at the start of the next step
var qp_room = null;          // settings of the running scene
var qp_instances = [];       // live instances, in creation order
var qp_tiles = [];           // tiles of the running scene
var qp_self = null;          // instance whose event code is running
var qp_roomstart_due = false;
var qp_canvas = null;
var qp_context = null;
var qp_draw_font = '12pt sans-serif';
var qp_draw_color = 'rgb(255,255,255)';
var qp_unresolved = [];      // object definitions built before their parent, until all are built
var qp_starting_room = false;

var room_width = 0;
var room_height = 0;
var view_x = 0;
var view_y = 0;

// ---------------------------------------------------------------- keyboard

var qp_keys_down = {};
var qp_keys_pressed = {};

// Key constants hold the browser's key codes.
(function () {
  var named = {
    add: 107, alt: 18, backspace: 8, ctrl: 17, decimal: 110, 'delete': 46,
    divide: 111, down: 40, end: 35, enter: 13, escape: 27, home: 36,
    insert: 45, left: 37, multiply: 106, pagedown: 34, pageup: 33, pause: 19,
    right: 39, shift: 16, space: 32, subtract: 109, tab: 9, up: 38
  };
  var i;
  for (i = 0; i <= 9; i++) named[String(i)] = 48 + i;
  for (i = 0; i < 26; i++) named[String.fromCharCode(97 + i)] = 65 + i;
  for (i = 1; i <= 12; i++) named['f' + i] = 111 + i;
  for (i = 0; i <= 9; i++) named['num' + i] = 96 + i;
  for (var name in named) window['vk_' + name] = named[name];
})();

window.addEventListener('keydown', function (e) {
  if (!qp_keys_down[e.keyCode]) qp_keys_pressed[e.keyCode] = true;
  qp_keys_down[e.keyCode] = true;
  // Arrows, space, tab and backspace would scroll the page or move the focus.
  if ((e.keyCode >= 32 && e.keyCode <= 40) || e.keyCode === 8 || e.keyCode === 9) e.preventDefault();
});
window.addEventListener('keyup', function (e) {
  qp_keys_down[e.keyCode] = false;
});
window.addEventListener('blur', function () {
  qp_keys_down = {};
});

function keyboard_check(key) {
  return qp_keys_down[key] === true;
}

function keyboard_check_pressed(key) {
  return qp_keys_pressed[key] === true;
}

// ---------------------------------------------------------------- resources

function __sprite_init__(self, name, width, height, origin_x, origin_y, shape, radius,
                         left, right, top, bottom, files) {
  self.width = width;
  self.height = height;
  self.origin_x = origin_x;
  self.origin_y = origin_y;
  self.shape = shape;
  self.radius = radius;
  self.box = { left: left, right: right, top: top, bottom: bottom };
  self.frames = files.map(qp_load_image);
}

function __audio_init__(self, name, wav, mp3, ogg) {
  var audio = document.createElement('audio');
  audio.preload = 'auto';
  [[wav, 'audio/wav'], [mp3, 'audio/mpeg'], [ogg, 'audio/ogg']].forEach(function (f) {
    if (!f[0]) return;
    var source = document.createElement('source');
    source.src = f[0];
    source.type = f[1];
    audio.appendChild(source);
  });
  self.audio = audio;
}

function __background_init__(self, name, file) {
  self.image = qp_load_image(file);
}

function __font_init__(self, name, family, size, bold, italic) {
  self.css = (italic ? 'italic ' : '') + (bold ? 'bold ' : '') + size + "pt '" + family + "'";
}

function qp_load_image(file) {
  var image = new Image();
  image.src = file;
  return image;
}

// A missing or damaged picture is skipped: drawing one would throw.
function qp_image_ready(image) {
  return !!image && image.complete && image.naturalWidth > 0;
}

// ---------------------------------------------------------------- objects

// What every object definition, and so every instance, inherits.
var qp_base = {
  x: 0, y: 0, hspeed: 0, vspeed: 0, image_index: 0, image_speed: 1,
  other: null, qp_direction: 0,
  place_meeting: function (x, y, obj) {
    return qp_place_meeting(this, x, y, obj);
  }
};

// speed and direction (degrees, counter-clockwise, 0 = right) are another
// view of hspeed and vspeed.
Object.defineProperty(qp_base, 'speed', {
  get: function () { return Math.sqrt(this.hspeed * this.hspeed + this.vspeed * this.vspeed); },
  set: function (s) { qp_set_motion(this, s, this.direction); }
});
Object.defineProperty(qp_base, 'direction', {
  get: function () {
    if (this.hspeed === 0 && this.vspeed === 0) return this.qp_direction;
    var d = Math.atan2(-this.vspeed, this.hspeed) * 180 / Math.PI;
    return d < 0 ? d + 360 : d;
  },
  set: function (d) { qp_set_motion(this, this.speed, d); }
});
Object.defineProperty(qp_base, 'image_number', {
  get: function () { var s = this.sprite_index; return s && s.frames ? s.frames.length : 0; },
  set: function () {}
});

function qp_set_motion(inst, speed, direction) {
  var a = direction * Math.PI / 180;
  inst.qp_direction = direction;
  inst.hspeed = qp_clean(speed * Math.cos(a));
  inst.vspeed = qp_clean(-speed * Math.sin(a));
}

// Keeps right angles exact: cos(90) is not quite zero.
function qp_clean(v) {
  return Math.abs(v) < 1e-9 ? 0 : v;
}

function __instance_init__(self, name, parent, visible, depth, sprite, collision, position) {
  // A parent defined later in the object list is not built yet: the
  // definition is built again once every object exists.
  if (parent === undefined && qp_unresolved) qp_unresolved.push([self, self.constructor]);
  Object.setPrototypeOf(self, qp_base);
  self.parent = parent || null;
  self.visible = visible;
  self.depth = depth;
  self.sprite_index = sprite || null;
  self.collision = collision;
  self.object_index = position;
}

function qp_resolve_parents() {
  var pending = qp_unresolved;
  qp_unresolved = null;
  pending.forEach(function (u) {
    var self = u[0];
    u[1].call(self);
    // A chain of parents that leads back to the object would never end.
    for (var o = self.parent; o; o = o.parent) {
      if (o === self) {
        self.parent = null;
        break;
      }
    }
  });
}

// Without their own code, events run the code of the nearest ancestor
// that has some; the draw event then falls back to drawing the sprite.
function qp_inherited(handler, otherwise) {
  var inherit = function () {
    for (var o = this.object && this.object.parent; o; o = o.parent) {
      if (o[handler] !== inherit) return o[handler].call(this);
    }
    if (otherwise) otherwise(this);
  };
  return inherit;
}

var on_creation_i = qp_inherited('on_creation');
var on_destroy_i = qp_inherited('on_destroy');
var on_step_i = qp_inherited('on_step');
var on_end_step_i = qp_inherited('on_end_step');
var on_collision_i = qp_inherited('on_collision');
var on_roomstart_i = qp_inherited('on_roomstart');
var on_roomend_i = qp_inherited('on_roomend');
var on_animationend_i = qp_inherited('on_animationend');
var on_draw_i = qp_inherited('on_draw', function (inst) {
  if (inst.visible == 1) __handle_sprite__(inst);
});

function qp_event(inst, handler) {
  if (inst.qp_destroyed) return;
  var outer = qp_self;
  qp_self = inst;
  try {
    inst[handler]();
  } catch (e) {
    // One faulty script must not stop the game.
    console.error(e);
  } finally {
    qp_self = outer;
  }
}

function qp_each(handler) {
  qp_instances.slice().forEach(function (inst) { qp_event(inst, handler); });
}

function instance_create(x, y, obj) {
  if (!obj) return null;
  var inst = Object.create(obj);
  inst.object = obj;
  inst.x = x;
  inst.y = y;
  inst.hspeed = 0;
  inst.vspeed = 0;
  inst.image_index = 0;
  inst.other = null;
  qp_instances.push(inst);
  qp_event(inst, 'on_creation');
  return inst;
}

function instance_destroy(inst) {
  inst = inst || qp_self;
  if (!inst || inst.qp_destroyed) return;
  qp_event(inst, 'on_destroy');
  inst.qp_destroyed = true;
}

function qp_is_a(inst, obj) {
  for (var o = inst.object; o; o = o.parent) if (o === obj) return true;
  return false;
}

// ---------------------------------------------------------------- collision

// The collision shape of an instance standing at (x, y), in room pixels;
// null without a sprite. Box and circle are placed in the frame, not at
// the origin: the circle sits in the middle of the frame.
function qp_shape(inst, x, y) {
  var s = inst.sprite_index;
  if (!s) return null;
  var left = x - s.origin_x;
  var top = y - s.origin_y;
  if (s.shape === 'Circle') {
    return { circle: true, x: left + Math.trunc(s.width / 2), y: top + Math.trunc(s.height / 2), r: s.radius };
  }
  // Right may be left of left, bottom above top: the box still spans both.
  var b = s.box;
  return { circle: false, left: left + Math.min(b.left, b.right), right: left + Math.max(b.left, b.right),
           top: top + Math.min(b.top, b.bottom), bottom: top + Math.max(b.top, b.bottom) };
}

function qp_overlap(a, b) {
  if (!a.circle && b.circle) return qp_overlap(b, a);
  if (a.circle && b.circle) {
    var dx = a.x - b.x, dy = a.y - b.y, r = a.r + b.r;
    return r > 0 && dx * dx + dy * dy < r * r;
  }
  if (a.circle) {
    var nx = Math.max(b.left, Math.min(a.x, b.right));
    var ny = Math.max(b.top, Math.min(a.y, b.bottom));
    var ex = a.x - nx, ey = a.y - ny;
    return b.left < b.right && b.top < b.bottom && ex * ex + ey * ey < a.r * a.r;
  }
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The first other instance of obj (or of a child of obj) that the
// instance would touch at (x, y), else null.
function qp_place_meeting(inst, x, y, obj) {
  if (!obj || inst.collision != 1) return null;
  var mine = qp_shape(inst, x, y);
  if (!mine) return null;
  for (var i = 0; i < qp_instances.length; i++) {
    var other = qp_instances[i];
    if (other === inst || other.qp_destroyed || other.collision != 1 || !qp_is_a(other, obj)) continue;
    var theirs = qp_shape(other, other.x, other.y);
    if (theirs && qp_overlap(mine, theirs)) return other;
  }
  return null;
}

function place_meeting(x, y, obj) {
  return qp_self ? qp_place_meeting(qp_self, x, y, obj) : null;
}

// ---------------------------------------------------------------- drawing

function __handle_sprite__(inst) {
  var s = inst.sprite_index;
  if (s) draw_sprite(s, inst.image_index, inst.x, inst.y);
}

function draw_sprite(sprite, subimg, x, y) {
  if (!sprite || !sprite.frames || !sprite.frames.length || !qp_context) return;
  var n = sprite.frames.length;
  var frame = sprite.frames[((Math.floor(subimg) % n) + n) % n];
  if (qp_image_ready(frame)) qp_context.drawImage(frame, x - sprite.origin_x, y - sprite.origin_y);
}

function draw_text(x, y, text) {
  if (!qp_context) return;
  qp_context.font = qp_draw_font;
  qp_context.fillStyle = qp_draw_color;
  qp_context.textBaseline = 'top';
  qp_context.fillText(String(text), x, y);
}

function draw_set_font(font) {
  if (font && font.css) qp_draw_font = font.css;
}

function draw_set_color(red, green, blue) {
  qp_draw_color = 'rgb(' + red + ',' + green + ',' + blue + ')';
}

function qp_draw_background() {
  var r = qp_room, c = qp_context;
  c.fillStyle = r.color;
  c.fillRect(0, 0, r.width, r.height);
  if (!qp_image_ready(r.image)) return;
  if (r.stretched) {
    c.drawImage(r.image, 0, 0, r.width, r.height);
    return;
  }
  var w = r.image.naturalWidth, h = r.image.naturalHeight;
  var across = r.tiled_x ? Math.ceil(r.width / w) : 1;
  var down = r.tiled_y ? Math.ceil(r.height / h) : 1;
  for (var i = 0; i < across; i++)
    for (var j = 0; j < down; j++) c.drawImage(r.image, i * w, j * h);
}

// Instances and tiles by depth, the highest first, so that a lower depth
// ends up in front; at equal depth tiles go over instances.
function qp_draw_scene() {
  var items = [];
  qp_instances.forEach(function (inst) {
    if (!inst.qp_destroyed) items.push({ depth: inst.depth, inst: inst });
  });
  qp_tiles.forEach(function (tile) { items.push({ depth: tile.depth, tile: tile }); });
  items.sort(function (a, b) { return b.depth - a.depth; });
  items.forEach(function (item) {
    var t = item.tile;
    if (!t) qp_event(item.inst, 'on_draw');
    else if (qp_image_ready(t.image)) qp_context.drawImage(t.image, t.left, t.top, t.width, t.height, t.x, t.y, t.width, t.height);
  });
}

function qp_draw() {
  var c = qp_context;
  c.setTransform(1, 0, 0, 1, 0, 0);
  c.clearRect(0, 0, qp_canvas.width, qp_canvas.height);
  c.translate(-view_x, -view_y);
  qp_draw_background();
  qp_draw_scene();
}

// ---------------------------------------------------------------- sound

function qp_audio_play(snd, loop) {
  if (!snd || !snd.audio) return;
  snd.audio.loop = loop;
  snd.audio.currentTime = 0;
  var playing = snd.audio.play();
  // Browsers refuse to play before the player has touched the page.
  if (playing && playing.catch) playing.catch(function () {});
}

function sound_play(snd) { qp_audio_play(snd, false); }
function sound_loop(snd) { qp_audio_play(snd, true); }

function sound_stop(snd) {
  if (!snd || !snd.audio) return;
  snd.audio.pause();
  snd.audio.currentTime = 0;
}

// ---------------------------------------------------------------- scenes

function room_goto(scene) {
  if (scene) qp_room_to_go = scene;
}

function __room_start__(self, name, width, height, speed, red, green, blue, image,
                        tiled_x, tiled_y, stretched, view_width, view_height,
                        follow, margin_x, margin_y) {
  qp_starting_room = false;
  qp_room = {
    scene: self, width: width, height: height, speed: speed > 0 ? speed : 30,
    color: 'rgb(' + red + ',' + green + ',' + blue + ')', image: image,
    tiled_x: tiled_x == 1, tiled_y: tiled_y == 1, stretched: stretched == 1,
    view_width: view_width > 0 ? view_width : width,
    view_height: view_height > 0 ? view_height : height,
    follow: follow, margin_x: margin_x, margin_y: margin_y
  };
  room_width = width;
  room_height = height;
  view_x = 0;
  view_y = 0;
  qp_canvas.width = qp_room.view_width;
  qp_canvas.height = qp_room.view_height;

  qp_tiles = [];
  (self.tiles || []).forEach(function (layer) {
    for (var g = 1; g < layer.length; g++) {
      var background = layer[g][0];
      for (var k = 1; k < layer[g].length; k++) {
        var t = layer[g][k];
        qp_tiles.push({ depth: layer[0], image: background && background.image,
                        left: t[0], top: t[1], width: t[2], height: t[3], x: t[4], y: t[5] });
      }
    }
  });

  qp_instances = [];
  (self.objects || []).forEach(function (o) { instance_create(o[1], o[2], o[0]); });
  qp_roomstart_due = true;
}

// Keeps the followed instance at least the margins away from the edges of
// the view, and the view inside the room.
function qp_follow_view() {
  var r = qp_room;
  if (!r.follow) return;
  var target = null;
  for (var i = 0; i < qp_instances.length && !target; i++)
    if (!qp_instances[i].qp_destroyed && qp_is_a(qp_instances[i], r.follow)) target = qp_instances[i];
  if (!target) return;
  if (target.x - view_x < r.margin_x) view_x = target.x - r.margin_x;
  if (view_x + r.view_width - target.x < r.margin_x) view_x = target.x + r.margin_x - r.view_width;
  if (target.y - view_y < r.margin_y) view_y = target.y - r.margin_y;
  if (view_y + r.view_height - target.y < r.margin_y) view_y = target.y + r.margin_y - r.view_height;
  view_x = Math.round(Math.max(0, Math.min(view_x, r.width - r.view_width)));
  view_y = Math.round(Math.max(0, Math.min(view_y, r.height - r.view_height)));
}

// ---------------------------------------------------------------- game loop

function qp_animate(inst) {
  var n = inst.image_number;
  if (inst.qp_destroyed || n === 0) return;
  var next = inst.image_index + inst.image_speed;
  if (next < n) {
    inst.image_index = next;
    return;
  }
  // The animation-end code runs while the last frame is still shown; the
  // animation starts over unless that code stopped it or chose a frame.
  inst.image_index = n - 1;
  qp_event(inst, 'on_animationend');
  if (inst.image_index === n - 1 && inst.image_speed !== 0) inst.image_index = 0;
}

function qp_step() {
  if (qp_room_to_go) {
    var scene = qp_room_to_go;
    qp_room_to_go = null;
    if (qp_room) qp_each('on_roomend');
    qp_starting_room = true;
    try {
      scene.start();
    } finally {
      qp_starting_room = false;
    }
  }
  if (!qp_room) return;
  if (qp_roomstart_due) {
    qp_roomstart_due = false;
    qp_each('on_roomstart');
  }
  qp_each('on_step');
  qp_instances.forEach(function (inst) {
    inst.x += inst.hspeed;
    inst.y += inst.vspeed;
  });
  qp_each('on_collision');
  qp_instances.slice().forEach(qp_animate);
  qp_each('on_end_step');
  qp_instances = qp_instances.filter(function (inst) { return !inst.qp_destroyed; });
  qp_keys_pressed = {};
  qp_follow_view();
  qp_draw();
}

function qp_tick() {
  try {
    qp_step();
  } catch (e) {
    console.error(e);
  }
  setTimeout(qp_tick, 1000 / (qp_room ? qp_room.speed : 30));
}

function qp_boot() {
  var holder = document.getElementById('quillopgame') || document.body;
  qp_canvas = document.createElement('canvas');
  qp_canvas.width = 640;
  qp_canvas.height = 480;
  holder.appendChild(qp_canvas);
  qp_context = qp_canvas.getContext('2d');
  qp_tick();
}

// ---------------------------------------------------------------- the game

// The game's own code runs inside with (qp_unexported) { ... }. A name that
// nothing declares - a background or sound left out of the game for want of
// a file, a resource deleted since - reads as undefined there instead of
// stopping the script with a ReferenceError, and assigning one makes a
// global as usual. While a scene starts it reads as an empty resource, since
// the start takes .image of the scene's background.
var qp_missing = {};
var qp_unexported = new Proxy({}, {
  has: function (target, name) { return typeof name === 'string' && !(name in window); },
  get: function (target, name) { return qp_starting_room && typeof name === 'string' ? qp_missing : undefined; },
  set: function (target, name, value) { window[name] = value; return true; }
});

with (qp_unexported) {
//QUILLOP_EXTENSIONS
//QUILLOP_GLOBAL_VARIABLES
//QUILLOP_GLOBAL_FUNCTIONS
//QUILLOP_SPRITES
//QUILLOP_SOUNDS
//QUILLOP_MUSICS
//QUILLOP_BACKGROUNDS
//QUILLOP_FONTS
//QUILLOP_OBJECTS
//QUILLOP_SCENES
}
qp_resolve_parents();

window.addEventListener('load', qp_boot);
