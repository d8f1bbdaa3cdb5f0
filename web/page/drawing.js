// Replays a view's drawing, as the core's view arithmetic recorded it, on an HTML canvas.
'use strict';

const Drawing = (() => {
  // The operation codes of web/src/RecordingCanvas.h.
  const PEN_COLOUR = 1, MOVE_TO = 2, LINE_TO = 3, TEXT = 4, FILL_RECT = 5;

  const css = (rgb) => '#' + rgb.toString(16).padStart(6, '0');

  function replay(context, drawing) {
    const ops = drawing.operations;
    let pen = 0xffffff;
    // Labels are written on the colour of the last fill, as on the program's bitmap.
    let brush = 0x000000;
    let open = false;
    const stroke = () => {
      if (open) context.stroke();
      open = false;
    };
    context.lineWidth = 1;
    context.textBaseline = 'top';
    for (let i = 0; i < ops.length;) {
      switch (ops[i]) {
        case PEN_COLOUR:
          stroke();
          pen = ops[i + 1];
          context.strokeStyle = css(pen);
          i += 2;
          break;
        case MOVE_TO:
          if (!open) context.beginPath();
          open = true;
          // Pixel centres, so that one-pixel lines cover whole pixels.
          context.moveTo(ops[i + 1] + 0.5, ops[i + 2] + 0.5);
          i += 3;
          break;
        case LINE_TO:
          if (!open) context.beginPath();
          open = true;
          context.lineTo(ops[i + 1] + 0.5, ops[i + 2] + 0.5);
          i += 3;
          break;
        case TEXT: {
          stroke();
          const [x, y, index, colour, points] = ops.slice(i + 1, i + 6);
          const text = drawing.texts[index];
          context.font = `${Math.round(points * 4 / 3)}px sans-serif`;
          const width = context.measureText(text).width;
          context.fillStyle = css(brush);
          context.fillRect(x, y, Math.ceil(width), Math.round(points * 4 / 3) + 2);
          context.fillStyle = css(colour);
          context.fillText(text, x, y + 1);
          i += 6;
          break;
        }
        case FILL_RECT: {
          stroke();
          const [left, top, right, bottom, colour] = ops.slice(i + 1, i + 6);
          brush = colour;
          context.fillStyle = css(colour);
          context.fillRect(left, top, right - left, bottom - top);
          i += 6;
          break;
        }
        default:
          throw new Error(`unknown drawing operation ${ops[i]} at ${i}`);
      }
    }
    stroke();
  }

  return { replay };
})();
