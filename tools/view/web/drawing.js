// The drawing of a recorded frame or of a scene: geometry packs from the viewer (binary blocks,
// see drawpack.h) handed to the graphics card as they are, with three.js. A frame is drawn with
// each record's recorded matrices ("as the channel saw it") or with an orbit camera; a scene with
// an orbit camera. Stepping draws the records up to one and outlines it; clicking picks what is
// drawn at the pixel through a pass that draws item ids as colours.
//
// AkDrawing.create(element, {onPick(item), onReady(), onWhole()}) gives a view (onReady: its first
// image, which for a large drawing is a share of it; onWhole: the first image of all of it) with:
//   load(arrayBuffer, kind)   kind "frame" or "scene"; returns the pack's items
//   step(k)                   draw items 0 to k only (-1: all)
//   outline(i)                outline item i (-1: none)
//   spheres(i)                scene: the bounds of item i's subtree as wire spheres (-1: none)
//   look(i)                   turn the orbit camera to item i
//   camera(mode)              "channel" or "orbit"
//   show({solid, wireframe, normals})
//   pickAt(x, y)              the item drawn at a pixel of the view, or -1
/* global THREE */
(function () {
  'use strict';

  const ITEM_WORDS = 12;
  // Indices drawn at most while the camera moves.
  const MOVING_INDICES = 240000;

  function parsePack(buffer) {
    const bytes = new Uint8Array(buffer);
    if (bytes.length < 8 || String.fromCharCode(bytes[0], bytes[1], bytes[2], bytes[3]) !== 'AKGP')
      throw new Error('not a geometry pack');
    const length = new DataView(buffer).getUint32(4, true);
    const header = JSON.parse(new TextDecoder().decode(bytes.subarray(8, 8 + length)));
    return { header: header, body: 8 + length, buffer: buffer };
  }

  // Items: key, parent, box, sphere (see drawpack.h).
  function readItems(pack) {
    const at = pack.header.items;
    const words = new Uint32Array(pack.buffer, pack.body + at.offset, at.count * ITEM_WORDS);
    const floats = new Float32Array(pack.buffer, pack.body + at.offset, at.count * ITEM_WORDS);
    const ints = new Int32Array(pack.buffer, pack.body + at.offset, at.count * ITEM_WORDS);
    const items = [];
    for (let i = 0; i < at.count; ++i) {
      const w = i * ITEM_WORDS;
      items.push({
        key: words[w], parent: ints[w + 1],
        box: Array.prototype.slice.call(floats, w + 2, w + 8),
        sphere: Array.prototype.slice.call(floats, w + 8, w + 12),
        end: i + 1  // one past the last item of its subtree
      });
    }
    // Items come in depth-first order: a subtree ends where an item outside it starts.
    for (let i = items.length - 1; i >= 0; --i) {
      const parent = items[i].parent;
      if (parent >= 0 && parent < i) items[parent].end = Math.max(items[parent].end, items[i].end);
    }
    return items;
  }

  function boxEmpty(box) { return !(box[0] <= box[3] && box[1] <= box[4] && box[2] <= box[5]); }

  const VERTEX = `#version 300 es
precision highp float;
uniform mat4 uProjection, uView;
uniform float uPointSize;
in vec3 position;
in vec4 normal, color, pickId;
out vec4 vColor;
out vec3 vNormal, vPosition;
void main() {
  vec4 eye = uView * vec4(position, 1.0);
  vPosition = eye.xyz;
  vNormal = mat3(uView) * normal.xyz;
  vColor = color;
#ifdef PICK
  vColor = pickId;
#endif
  gl_Position = uProjection * eye;
  gl_PointSize = uPointSize;
}`;

  const FRAGMENT = `#version 300 es
precision highp float;
uniform bool uLit;
uniform vec4 uTint;
in vec4 vColor;
in vec3 vNormal, vPosition;
out vec4 color;
void main() {
#ifdef PICK
  color = vColor;
#else
  vec4 c = mix(vColor, vec4(uTint.rgb, vColor.a), uTint.a);
  if (uLit) {
    vec3 n = vNormal;
    // Without a normal of its own a face is lit by its slope.
    if (dot(n, n) < 0.01) n = cross(dFdx(vPosition), dFdy(vPosition));
    n = normalize(n);
    // A light at the eye, both sides lit.
    float light = abs(dot(n, normalize(-vPosition)));
    c.rgb *= 0.35 + 0.65 * light;
  }
  color = c;
#endif
}`;

  // The id pass of a shader: the define after the version line, which must come first.
  function picking(source) { return source.replace('\n', '\n#define PICK 1\n'); }

  // A unit circle in each of the three planes, as line segments.
  function sphereLines(spheres) {
    const segments = 32, positions = [];
    for (const s of spheres) {
      for (let plane = 0; plane < 3; ++plane) {
        for (let i = 0; i < segments; ++i) {
          for (const k of [i, i + 1]) {
            const a = 2 * Math.PI * k / segments, p = [0, 0, 0];
            p[plane] = Math.cos(a) * s[3];
            p[(plane + 1) % 3] = Math.sin(a) * s[3];
            positions.push(s[0] + p[0], s[1] + p[1], s[2] + p[2]);
          }
        }
      }
    }
    return new Float32Array(positions);
  }

  function boxLines(box) {
    const p = [];
    for (let a = 0; a < 8; ++a)
      for (const bit of [1, 2, 4])
        if (!(a & bit))
          for (const c of [a, a | bit])
            p.push(box[c & 1 ? 3 : 0], box[c & 2 ? 4 : 1], box[c & 4 ? 5 : 2]);
    return new Float32Array(p);
  }

  class Drawing {
    constructor(element, options) {
      this.options = options || {};
      this.element = element;
      this.canvas = document.createElement('canvas');
      this.canvas.className = 'drawing-canvas';
      element.appendChild(this.canvas);
      const context = this.canvas.getContext('webgl2', { antialias: true });
      if (!context) throw new Error('this browser draws no WebGL 2');
      this.renderer = new THREE.WebGLRenderer({ canvas: this.canvas, context: context });
      this.renderer.setClearColor(0xdfe5ee, 1);
      this.renderer.autoClear = true;
      this.scene = new THREE.Scene();
      this.overlay = new THREE.Scene();
      this.orbit = new THREE.PerspectiveCamera(45, 1, 0.1, 1000);
      // The recorded frame's eye: its own coordinates, drawn with the main recorded projection.
      this.channelCamera = new THREE.Camera();
      this.controls = new THREE.OrbitControls(this.orbit, this.canvas);
      this.controls.enableDamping = false;
      // While the camera moves, a large drawing shows a share of its indices (the first items of
      // each batch) so that it turns smoothly without a graphics card; all of it once it stops.
      this.controls.addEventListener('change', () => {
        this.moving = true;
        clearTimeout(this.still);
        this.still = setTimeout(() => { this.moving = false; this.render(); }, 200);
        this.render();
      });
      this.mode = 'channel';
      this.view = new THREE.Matrix4();
      this.settings = { solid: true, wireframe: false, normals: false };
      this.batches = [];
      this.items = [];
      this.stepTo = -1;
      this.outlined = -1;
      this.materials = new Set();
      this.resize = () => this.fit();
      window.addEventListener('resize', this.resize);
      this.canvas.addEventListener('click', (event) => this.clicked(event));
    }

    material(batch, pick, wireframe) {
      const m = new THREE.RawShaderMaterial({
        vertexShader: pick ? picking(VERTEX) : VERTEX, fragmentShader: pick ? picking(FRAGMENT) : FRAGMENT,
        uniforms: {
          uProjection: { value: new THREE.Matrix4() }, uView: { value: this.view },
          uPointSize: { value: 6 }, uLit: { value: batch.lit && batch.primitive === 'triangles' && !pick },
          uTint: { value: new THREE.Vector4(0, 0, 0, 0) }
        },
        transparent: batch.transparent && !pick,
        depthTest: batch.depthTest,
        depthWrite: !(batch.transparent && !pick),
        side: THREE.DoubleSide,
        wireframe: wireframe
      });
      if (!pick) m.extensions = { derivatives: true };
      this.materials.add(m);
      return m;
    }

    clear() {
      for (const b of this.batches) b.geometry.dispose();
      for (const m of this.materials) m.dispose();
      this.materials.clear();
      this.scene = new THREE.Scene();
      this.overlay = new THREE.Scene();
      this.batches = [];
    }

    load(buffer, kind) {
      this.clear();
      const pack = parsePack(buffer);
      this.kind = kind;
      this.header = pack.header;
      this.items = readItems(pack);
      this.projections = pack.header.projections.map((p) => new THREE.Matrix4().fromArray(p));
      const body = pack.body;
      for (const b of pack.header.batches) {
        const geometry = new THREE.BufferGeometry();
        geometry.setAttribute('position', new THREE.BufferAttribute(new Float32Array(buffer, body + b.position, b.vertices * 3), 3));
        geometry.setAttribute('normal', new THREE.BufferAttribute(new Int8Array(buffer, body + b.normal, b.vertices * 4), 4, true));
        geometry.setAttribute('color', new THREE.BufferAttribute(new Uint8Array(buffer, body + b.color, b.vertices * 4), 4, true));
        geometry.setAttribute('pickId', new THREE.BufferAttribute(new Uint8Array(buffer, body + b.id, b.vertices * 4), 4, true));
        geometry.setIndex(new THREE.BufferAttribute(new Uint32Array(buffer, body + b.index, b.indices), 1));
        const ranges = new Uint32Array(buffer, body + b.ranges, b.rangeCount * 2);
        const batch = {
          description: b, geometry: geometry, ranges: ranges, primitive: b.primitive,
          projection: this.projections[b.projection] || new THREE.Matrix4(),
          lit: b.lit, transparent: b.transparent, depthTest: b.depthTest
        };
        batch.solid = this.object(batch, this.material(batch, false, false));
        batch.wire = b.primitive === 'triangles' ? this.object(batch, this.material(batch, false, true)) : null;
        batch.pick = this.object(batch, this.material(batch, true, false));
        batch.solid.renderOrder = b.transparent ? 2 : 1;
        this.scene.add(batch.solid);
        if (batch.wire) this.scene.add(batch.wire);
        this.batches.push(batch);
      }
      this.normalLines = null;
      // A large drawing shows its share at once, then all of it.
      this.coarseFirst = true;
      this.setupCamera();
      this.apply();
      this.fit();
      return this.items;
    }

    object(batch, material) {
      const o = batch.primitive === 'lines' ? new THREE.LineSegments(batch.geometry, material)
        : batch.primitive === 'points' ? new THREE.Points(batch.geometry, material)
          : new THREE.Mesh(batch.geometry, material);
      o.frustumCulled = false;
      o.matrixAutoUpdate = false;
      return o;
    }

    // The projection most of the drawing uses, and the eye's forward and up directions in it.
    mainProjection() {
      const counts = new Map();
      for (const b of this.batches) counts.set(b.projection, (counts.get(b.projection) || 0) + b.description.vertices);
      let best = null, most = -1;
      for (const [p, n] of counts) if (n > most) { best = p; most = n; }
      return best || new THREE.Matrix4().makePerspective(-1, 1, 1, -1, 1, 1000);
    }

    bounds() {
      const b = this.header.bounds;
      if (!b) return { center: new THREE.Vector3(), radius: 1 };
      const min = new THREE.Vector3(b[0], b[1], b[2]), max = new THREE.Vector3(b[3], b[4], b[5]);
      return { center: min.clone().add(max).multiplyScalar(0.5), radius: Math.max(min.distanceTo(max) / 2, 1e-3) };
    }

    setupCamera() {
      const { center, radius } = this.bounds();
      if (this.kind === 'scene') {
        this.orbit.up.set(0, 0, 1);
        this.orbit.position.copy(center).add(new THREE.Vector3(-1.2, -1.6, 1.1).multiplyScalar(radius * 1.3));
        this.controls.target.copy(center);
        this.mode = 'orbit';
      } else {
        // The eye of the recorded frame: forward where clip w grows (or, without perspective,
        // where clip z does), up where clip y does.
        this.channelCamera.projectionMatrix.copy(this.mainProjection());
        this.channelCamera.projectionMatrixInverse.getInverse(this.channelCamera.projectionMatrix);
        const e = this.mainProjection().elements;
        let forward = new THREE.Vector3(e[12], e[13], e[14]);
        if (forward.lengthSq() < 1e-12) forward = new THREE.Vector3(e[8], e[9], e[10]);
        forward.normalize();
        const up = new THREE.Vector3(e[4], e[5], e[6]);
        up.addScaledVector(forward, -up.dot(forward)).normalize();
        this.orbit.up.copy(up.lengthSq() > 0 ? up : new THREE.Vector3(0, 1, 0));
        this.orbit.position.set(0, 0, 0);
        const distance = Math.max(center.dot(forward), radius * 0.1);
        this.controls.target.copy(forward.clone().multiplyScalar(distance));
        const f = e[5];
        if (f > 0) this.orbit.fov = 2 * Math.atan(1 / f) * 180 / Math.PI;
      }
      this.orbit.near = radius / 1000;
      this.orbit.far = radius * 20 + this.orbit.position.distanceTo(center);
      this.orbit.lookAt(this.controls.target);
      this.controls.update();
    }

    camera(mode) {
      this.mode = this.kind === 'scene' ? 'orbit' : mode;
      this.controls.enabled = this.mode === 'orbit';
      this.render();
    }

    show(settings) {
      Object.assign(this.settings, settings);
      if (this.settings.normals && !this.normalLines) this.buildNormals();
      this.apply();
    }

    // Short lines along the normals of the triangles' vertices.
    buildNormals() {
      const { radius } = this.bounds();
      const length = radius / 40, lines = [];
      for (const b of this.batches) {
        if (b.primitive !== 'triangles') continue;
        const p = b.geometry.attributes.position.array, n = b.geometry.attributes.normal.array;
        for (let v = 0; v < p.length / 3 && lines.length < 6e6; ++v) {
          const x = n[v * 4] / 127, y = n[v * 4 + 1] / 127, z = n[v * 4 + 2] / 127;
          if (x === 0 && y === 0 && z === 0) continue;
          lines.push(p[v * 3], p[v * 3 + 1], p[v * 3 + 2], p[v * 3] + x * length, p[v * 3 + 1] + y * length, p[v * 3 + 2] + z * length);
        }
      }
      const geometry = new THREE.BufferGeometry();
      geometry.setAttribute('position', new THREE.BufferAttribute(new Float32Array(lines), 3));
      this.normalLines = new THREE.LineSegments(geometry, this.lineMaterial(0x1060ff));
      this.normalLines.material.depthTest = true;
      this.normalLines.frustumCulled = false;
      this.scene.add(this.normalLines);
    }

    apply() {
      for (const b of this.batches) {
        b.solid.visible = this.settings.solid || b.primitive !== 'triangles';
        if (b.wire) {
          b.wire.visible = this.settings.wireframe;
          b.wire.material.uniforms.uTint.value.set(0.1, 0.1, 0.1, this.settings.solid ? 0.85 : 0);
        }
        b.solid.material.polygonOffset = this.settings.wireframe;
        b.solid.material.polygonOffsetFactor = 1;
        b.solid.material.polygonOffsetUnits = 1;
        // Up to the step: the indices of the items up to it.
        let count = b.description.indices;
        if (this.stepTo >= 0)
          for (let r = 0; r < b.ranges.length; r += 2)
            if (b.ranges[r] > this.stepTo) { count = b.ranges[r + 1]; break; }
        b.stepped = count;
        b.geometry.setDrawRange(0, count);
      }
      this.render();
    }

    // The share of each batch drawn while the camera moves.
    moveRanges(moving) {
      let total = 0;
      for (const b of this.batches) total += b.stepped;
      const share = moving && total > MOVING_INDICES ? MOVING_INDICES / total : 1;
      for (const b of this.batches) {
        const per = b.primitive === 'triangles' ? 3 : b.primitive === 'lines' ? 2 : 1;
        b.geometry.setDrawRange(0, share < 1 ? Math.floor(b.stepped * share / per) * per : b.stepped);
      }
    }

    step(k) { this.stepTo = k; this.apply(); }

    // The indices item i drew in a batch: [first, count].
    rangeOf(batch, i) {
      const r = batch.ranges;
      for (let j = 0; j < r.length; j += 2)
        if (r[j] === i) return [r[j + 1], j + 2 < r.length ? r[j + 3] - r[j + 1] : batch.description.indices - r[j + 1]];
      return null;
    }

    outline(i) {
      this.outlined = i;
      this.overlay = new THREE.Scene();
      if (i >= 0 && i < this.items.length) {
        for (const b of this.batches) {
          const range = this.rangeOf(b, i);
          if (!range) continue;
          const o = this.object(b, this.material(b, false, b.primitive === 'triangles'));
          o.material.uniforms.uTint.value.set(1.0, 0.55, 0.0, 1.0);
          o.material.uniforms.uPointSize.value = 10;
          o.material.depthTest = false;
          o.material.transparent = false;
          // The item's own indices over the batch's vertices.
          const geometry = new THREE.BufferGeometry();
          for (const name of ['position', 'normal', 'color', 'pickId']) geometry.setAttribute(name, b.geometry.attributes[name]);
          geometry.setIndex(new THREE.BufferAttribute(b.geometry.index.array.slice(range[0], range[0] + range[1]), 1));
          o.geometry = geometry;
          o.projection = b.projection;
          this.overlay.add(o);
        }
        const box = this.items[i].box;
        if (!boxEmpty(box)) {
          const geometry = new THREE.BufferGeometry();
          geometry.setAttribute('position', new THREE.BufferAttribute(boxLines(box), 3));
          const lines = new THREE.LineSegments(geometry, this.lineMaterial(0xff8800));
          lines.projection = this.overlay.children.length ? this.overlay.children[0].projection : this.mainProjection();
          this.overlay.add(lines);
        }
      }
      this.render();
    }

    lineMaterial(color) {
      const m = new THREE.RawShaderMaterial({
        vertexShader: VERTEX.replace('in vec4 normal, color, pickId;', 'vec4 normal = vec4(0.0), pickId = vec4(0.0);\nuniform vec4 color;'),
        fragmentShader: FRAGMENT,
        uniforms: {
          uProjection: { value: new THREE.Matrix4() }, uView: { value: this.view }, uPointSize: { value: 1 },
          uLit: { value: false }, uTint: { value: new THREE.Vector4(0, 0, 0, 0) },
          color: { value: new THREE.Vector4(((color >> 16) & 255) / 255, ((color >> 8) & 255) / 255, (color & 255) / 255, 1) }
        },
        depthTest: false
      });
      this.materials.add(m);
      return m;
    }

    // Scene: the recorded bounds of item i and of every node below it.
    spheres(i) {
      if (this.sphereLines) { this.scene.remove(this.sphereLines); this.sphereLines.geometry.dispose(); }
      this.sphereLines = null;
      if (i < 0 || i >= this.items.length) return this.render();
      const list = [];
      for (let j = i; j < this.items[i].end && list.length < 4000; ++j)
        if (this.items[j].sphere[3] >= 0) list.push(this.items[j].sphere);
      const geometry = new THREE.BufferGeometry();
      geometry.setAttribute('position', new THREE.BufferAttribute(sphereLines(list), 3));
      this.sphereLines = new THREE.LineSegments(geometry, this.lineMaterial(0x0050c8));
      this.sphereLines.material.depthTest = true;
      this.sphereLines.frustumCulled = false;
      this.scene.add(this.sphereLines);
      this.render();
    }

    // Turns the orbit camera to the box of item i (and below it, in a scene).
    look(i) {
      const box = [Infinity, Infinity, Infinity, -Infinity, -Infinity, -Infinity];
      const end = i >= 0 && i < this.items.length ? this.items[i].end : i;
      for (let j = Math.max(i, 0); j < end; ++j) {
        const b = this.items[j].box;
        if (boxEmpty(b)) continue;
        for (let k = 0; k < 3; ++k) { box[k] = Math.min(box[k], b[k]); box[k + 3] = Math.max(box[k + 3], b[k + 3]); }
      }
      if (boxEmpty(box)) return;
      const min = new THREE.Vector3(box[0], box[1], box[2]), max = new THREE.Vector3(box[3], box[4], box[5]);
      const center = min.clone().add(max).multiplyScalar(0.5), radius = Math.max(min.distanceTo(max) / 2, 1e-3);
      const direction = this.orbit.position.clone().sub(this.controls.target).normalize();
      const distance = radius / Math.sin(this.orbit.fov * Math.PI / 360) * 1.1;
      this.controls.target.copy(center);
      this.orbit.position.copy(center).addScaledVector(direction, distance);
      this.orbit.near = Math.min(this.orbit.near, distance / 100);
      this.controls.update();
      if (this.kind !== 'scene') this.camera('orbit');
      this.render();
    }

    fit() {
      const width = Math.max(this.element.clientWidth, 1), height = Math.max(this.element.clientHeight, 1);
      this.renderer.setPixelRatio(window.devicePixelRatio || 1);
      this.renderer.setSize(width, height, false);
      this.canvas.style.width = width + 'px';
      this.canvas.style.height = height + 'px';
      this.orbit.aspect = width / height;
      this.orbit.updateProjectionMatrix();
      this.render();
    }

    // The projection and view each object is drawn with.
    prepare(object, projection) {
      const u = object.material.uniforms;
      if (!u) return;
      if (this.mode === 'channel') {
        u.uProjection.value.copy(projection || this.mainProjection());
        u.uView.value = this.identity || (this.identity = new THREE.Matrix4());
      } else {
        u.uProjection.value.copy(this.orbit.projectionMatrix);
        u.uView.value = this.orbit.matrixWorldInverse;
      }
    }

    passes(pick) {
      for (const b of this.batches) {
        for (const o of [b.solid, b.wire, b.pick]) if (o) this.prepare(o, b.projection);
        b.solid.visible = !pick && (this.settings.solid || b.primitive !== 'triangles');
        if (b.wire) b.wire.visible = !pick && this.settings.wireframe;
      }
      for (const o of this.overlay.children) this.prepare(o, o.projection);
      if (this.sphereLines) this.prepare(this.sphereLines, null);
      if (this.normalLines) this.prepare(this.normalLines, null);
    }

    render() {
      if (!this.batches) return;
      if (this.pending) return;
      this.pending = true;
      requestAnimationFrame(() => { this.pending = false; this.draw(); });
    }

    draw() {
      this.orbit.updateMatrixWorld();
      const coarse = this.moving || this.coarseFirst;
      this.moveRanges(coarse);
      this.passes(false);
      if (this.normalLines) this.normalLines.visible = this.settings.normals;
      const camera = this.mode === 'channel' ? this.channelCamera : this.orbit;
      this.renderer.autoClear = true;
      this.renderer.render(this.scene, camera);
      this.renderer.autoClear = false;
      this.renderer.render(this.overlay, camera);
      this.renderer.autoClear = true;
      if (this.batches.length && !this.drawn) {
        this.drawn = true;
        if (this.options.onReady) this.options.onReady();
      }
      if (this.coarseFirst) {
        this.coarseFirst = false;
        this.render();
      } else if (!coarse && this.batches.length && !this.whole) {
        this.whole = true;
        if (this.options.onWhole) this.options.onWhole();
      }
    }

    // The item drawn at pixel (x, y) of the view (from its top left), or -1.
    pickAt(x, y) {
      const width = this.canvas.width, height = this.canvas.height;
      const ratio = width / Math.max(this.element.clientWidth, 1);
      if (!this.target || this.target.width !== width || this.target.height !== height)
        this.target = new THREE.WebGLRenderTarget(width, height);
      this.orbit.updateMatrixWorld();
      this.moveRanges(false);
      this.passes(true);
      const pickScene = new THREE.Scene();
      for (const b of this.batches) pickScene.add(b.pick);
      this.renderer.setRenderTarget(this.target);
      this.renderer.setClearColor(0x000000, 0);
      this.renderer.clear();
      this.renderer.render(pickScene, this.mode === 'channel' ? this.channelCamera : this.orbit);
      const pixel = new Uint8Array(4);
      this.renderer.readRenderTargetPixels(this.target, Math.floor(x * ratio), Math.floor(height - 1 - y * ratio), 1, 1, pixel);
      this.renderer.setRenderTarget(null);
      this.renderer.setClearColor(0xdfe5ee, 1);
      this.render();
      const id = pixel[0] | (pixel[1] << 8) | (pixel[2] << 16) | (pixel[3] << 24);
      return id > 0 && id <= this.items.length ? id - 1 : -1;
    }

    clicked(event) {
      if (this.dragged(event)) return;
      const rect = this.canvas.getBoundingClientRect();
      const item = this.pickAt(event.clientX - rect.left, event.clientY - rect.top);
      if (this.options.onPick) this.options.onPick(item);
    }

    // A click that ends a drag of the orbit camera picks nothing.
    dragged(event) {
      const moved = this.down && (Math.abs(event.clientX - this.down[0]) > 4 || Math.abs(event.clientY - this.down[1]) > 4);
      this.down = null;
      return moved;
    }

    dispose() {
      this.clear();
      this.controls.dispose();
      this.renderer.dispose();
      window.removeEventListener('resize', this.resize);
      this.element.removeChild(this.canvas);
    }
  }

  window.AkDrawing = {
    create: function (element, options) {
      const drawing = new Drawing(element, options);
      drawing.canvas.addEventListener('pointerdown', (event) => { drawing.down = [event.clientX, event.clientY]; });
      return drawing;
    },
    parsePack: parsePack
  };
})();
