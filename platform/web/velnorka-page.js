// The page's side of the web skin: the controls built from the control
// table, the dialog that the prompts and the message box await, the
// clipboard, printing and the browser's number format. Linked with
// --js-library; the C++ side calls the functions below.

mergeInto(LibraryManager.library, {
  $VelnorkaPage__deps: ['malloc'],
  $VelnorkaPage: {
    box: null,       // the window: the controls' container
    column: null,    // the controls right of the text box, one under another
    controls: {},    // by name: Text1, Command1...
    options: [],     // the radio inputs of Option1..Option3
    busy: false,     // a handler runs: no other event may start one
    backdrop: null,  // where the browser has no modal dialog: the page's own
    behind: [],      // what the page's own dialog makes inert
    webKit: false,   // the engine of Safari (markWebKit)
    dialogKey: null, // while the dialog is open: takes its keys (openDialog)
    dialogChanges: 0,  // the dialog's openings and closings so far
    pressBegan: 0,     // dialogChanges at the first press of the mouse's latest double-click

    element: function(id) { return document.getElementById(id); },

    // Text passes to and from the C++ side as UTF-8 with its length, never
    // up to a NUL: a U+0000 in the box stays. TextEncoder writes a lone
    // surrogate as U+FFFD and keeps the character after it.

    // The text's UTF-8 in memory from malloc, for the C++ side to free.
    allocate: function(text) {
      var bytes = new TextEncoder().encode(text);
      var pointer = _malloc(bytes.length + 1);  // + 1: never a request for nothing
      HEAPU8.set(bytes, pointer);
      return {pointer: pointer, length: bytes.length};
    },

    // As allocate(), the length stored where the C++ side wants it.
    toCore: function(text, lengthPointer) {
      var allocated = VelnorkaPage.allocate(text);
      HEAPU32[lengthPointer >> 2] = allocated.length;
      return allocated.pointer;
    },

    fromCore: function(pointer, length) {
      return new TextDecoder().decode(HEAPU8.subarray(pointer, pointer + length));
    },

    // Runs the handler of a form event. Its synchronous part runs inside the
    // event that raised it (the copy needs the click's permission); the
    // returned promise settles when the handler has ended.
    raise: function(exported, args, startedBy) {
      if (VelnorkaPage.busy) return Promise.resolve();
      VelnorkaPage.busy = true;
      var ended = function() {
        VelnorkaPage.busy = false;
        if (startedBy) startedBy.focus();
      };
      var running = ccall(exported, null, args.map(function() { return 'number'; }), args, {async: true});
      return Promise.resolve(running).then(ended, ended);
    },

    // While a handler runs, clicks and keys outside its dialog do nothing,
    // but the keyboard always reaches an open dialog, wherever the focus is
    // (on the body, where WebKit's Tab leaves a modal dialog, or back from
    // the browser's toolbar).
    ignoreWhileBusy: function(event) {
      if (!VelnorkaPage.busy) return;
      var handled = event.type === 'keydown' && VelnorkaPage.dialogKey && VelnorkaPage.dialogKey(event);
      if (handled || !VelnorkaPage.element('Dialog').contains(event.target)) {
        event.preventDefault();
        event.stopImmediatePropagation();
      }
    },

    // The focus never rests outside an open dialog.
    focusDialog: function(event) {
      var dialog = VelnorkaPage.element('Dialog');
      if (VelnorkaPage.dialogKey && !dialog.contains(event.target)) VelnorkaPage.dialogStops()[0].focus();
    },

    // What Tab goes through in the open dialog: the reply, OK, Storno.
    dialogStops: function() {
      var dialog = VelnorkaPage.element('Dialog');
      return [].filter.call(dialog.querySelectorAll('input, button'), function(stop) { return !stop.hidden; });
    },

    // A press anywhere but on the reply and the buttons (the backdrop, a
    // second click of a double-click, the dialog's text) leaves the focus
    // where it is: typing still goes into the reply, Enter still presses OK.
    keepFocus: function(event) {
      if (!VelnorkaPage.busy) return;
      var target = event.target;
      var dialog = VelnorkaPage.element('Dialog');
      var onControl = dialog.contains(target) && target.closest && target.closest('input, button');
      if (!onControl) event.preventDefault();
    },

    // The later presses of a double-click whose first press opened or closed
    // the dialog do nothing: they answer no prompt that has just opened under
    // the pointer, and leave the focus where closing the dialog put it.
    ignoreLaterPresses: function(event) {
      if (event.type === 'mousedown' && event.detail === 1) {
        VelnorkaPage.pressBegan = VelnorkaPage.dialogChanges;
      } else if (event.detail > 1 && VelnorkaPage.pressBegan !== VelnorkaPage.dialogChanges) {
        event.preventDefault();
        event.stopImmediatePropagation();
      }
    },

    // The dialog shown modal: the browser's own, or where it has none (Safari
    // before 15.4) the page's: a backdrop under it that takes the clicks, the
    // page behind it out of the tab order and hidden from screen readers
    // (aria-hidden where inert is unknown). The keyboard is the dialog's in
    // both (dialogKey).
    showModal: function(dialog) {
      if (typeof dialog.showModal === 'function') {
        dialog.showModal();
        return;
      }
      var backdrop = VelnorkaPage.backdrop;
      if (!backdrop) {
        backdrop = VelnorkaPage.backdrop = document.createElement('div');
        backdrop.className = 'own-backdrop';
        dialog.parentNode.insertBefore(backdrop, dialog);
        backdrop.appendChild(dialog);
        dialog.setAttribute('aria-modal', 'true');
      }
      // What is inert already (the window while it loads) stays so.
      VelnorkaPage.behind = [].filter.call(document.body.children, function(element) {
        return element !== backdrop && element.tagName !== 'SCRIPT' && !element.hasAttribute('inert');
      });
      VelnorkaPage.behind.forEach(function(element) {
        element.setAttribute('inert', '');
        element.setAttribute('aria-hidden', 'true');
      });
      backdrop.hidden = false;
      dialog.setAttribute('open', '');
    },

    closeModal: function(dialog) {
      if (VelnorkaPage.backdrop) {
        VelnorkaPage.backdrop.hidden = true;
        VelnorkaPage.behind.forEach(function(element) {
          element.removeAttribute('inert');
          element.removeAttribute('aria-hidden');
        });
        dialog.removeAttribute('open');
      } else if (dialog.open) {
        dialog.close();
      }
    },

    // The prompt (a reply: its default text, selected) or the message box
    // (reply null). Resolves with the reply, '' for the message box, null
    // for Cancel (Storno, Escape).
    openDialog: function(text, reply) {
      var dialog = VelnorkaPage.element('Dialog');
      var form = VelnorkaPage.element('DialogForm');
      var input = VelnorkaPage.element('Reply');
      var ok = VelnorkaPage.element('DialogOk');
      var cancel = VelnorkaPage.element('DialogCancel');
      var asking = reply !== null;
      VelnorkaPage.element('DialogText').textContent = text;
      input.hidden = !asking;
      cancel.hidden = !asking;
      input.value = asking ? reply : '';
      dialog.setAttribute('role', asking ? 'dialog' : 'alertdialog');
      return new Promise(function(resolve) {
        var settled = false;
        var finish = function(answer) {
          if (settled) return;
          settled = true;
          VelnorkaPage.dialogChanges++;
          form.onsubmit = cancel.onclick = dialog.oncancel = dialog.onclose = null;
          VelnorkaPage.dialogKey = null;
          VelnorkaPage.closeModal(dialog);
          resolve(answer);
        };
        form.onsubmit = function(event) {
          event.preventDefault();
          finish(asking ? input.value : '');
        };
        cancel.onclick = function() { finish(null); };
        dialog.oncancel = function(event) {
          event.preventDefault();
          finish(null);
        };
        // Closed by the browser itself (Escape without a cancel event). A
        // close queued by an earlier opening finds the dialog open again.
        dialog.onclose = function() { if (!dialog.open) finish(null); };
        // Tab and Shift+Tab go round the dialog's controls (WebKit would
        // leave it for the body); Escape is Storno, and Enter outside the
        // dialog is OK. True for a key taken here.
        VelnorkaPage.dialogKey = function(event) {
          var inside = dialog.contains(event.target);
          if (event.key === 'Tab') {
            var stops = VelnorkaPage.dialogStops();
            var at = stops.indexOf(document.activeElement);
            var next = at < 0 ? (event.shiftKey ? -1 : 0) : at + (event.shiftKey ? -1 : 1);
            stops[(next + stops.length) % stops.length].focus();
          } else if (event.key === 'Escape' || event.key === 'Esc') {
            finish(null);
          } else if (event.key === 'Enter' && !inside) {
            ok.click();
          } else {
            return false;
          }
          return true;
        };
        VelnorkaPage.dialogChanges++;
        VelnorkaPage.showModal(dialog);
        if (asking) {
          input.focus();
          input.select();
        } else {
          ok.focus();
        }
      });
    },

    ask: function(prompt, promptLength, reply, replyLength, answerLength) {
      var asked = VelnorkaPage.openDialog(VelnorkaPage.fromCore(prompt, promptLength),
                                          VelnorkaPage.fromCore(reply, replyLength));
      return asked.then(function(answer) {
        return answer === null ? 0 : VelnorkaPage.toCore(answer, answerLength);
      });
    },

    tell: function(text, length) {
      return VelnorkaPage.openDialog(VelnorkaPage.fromCore(text, length), null);
    },

    // The sheet as the browser prints it: the rich copy of the box as it is
    // now, also while a handler waits in a dialog (the box cannot change
    // then, and the core makes the copy without touching the waiting handler).
    preparePrint: function() {
      var text = VelnorkaPage.allocate(VelnorkaPage.controls.Text1.value);
      _velnorka_print(text.pointer, text.length);
    },

    // Where the window as designed does not fit in the browser's (a phone, a
    // narrow or short window, a high zoom, large text), its controls reflow:
    // all of them in view, the text box in the rest (the stylesheet's
    // "narrow"). The designed size is measured again whenever the browser's
    // window or the controls' text changes size (a minimum font size set
    // while the page is open), against the room inside any scroll bars.
    fitWindow: function() {
      var box = VelnorkaPage.box;
      var room = document.documentElement;
      var fit = function() {
        box.classList.remove('narrow');
        var designed = box.getBoundingClientRect();
        var fits = designed.width <= room.clientWidth && designed.height <= room.clientHeight;
        box.classList.toggle('narrow', !fits);
      };
      fit();
      window.addEventListener('resize', fit);
      if (typeof ResizeObserver === 'function') {
        // At the next frame: a layout changed inside the observer's
        // callback would be reported as an error.
        var texts = new ResizeObserver(function() { requestAnimationFrame(fit); });
        [].forEach.call(box.querySelectorAll('button, legend, label'), function(text) { texts.observe(text); });
      }
    },

    // WebKit prints and copies by rules of its own (the stylesheet's print
    // rules for it, copyMarkup): every WebKit browser names this vendor, no
    // other engine does.
    markWebKit: function() {
      VelnorkaPage.webKit = navigator.vendor === 'Apple Computer, Inc.';
      document.documentElement.classList.toggle('webkit', VelnorkaPage.webKit);
    },

    // The HTML flavour as handed to the copy event. WebKit writes each
    // paragraph again with its computed style, -webkit- properties ahead of
    // the paragraph's own; Writer stops reading a style at such a name and
    // loses the margins, line height and font (the sheet grows to nearly
    // twice its pages). Properties from a style rule come first, so the
    // paragraphs' style (the same in every paragraph) goes into one as well.
    copyMarkup: function(html) {
      var paragraph = VelnorkaPage.webKit && /<p style="([^"<>]*)"/.exec(html);
      return paragraph ? '<style>p { ' + paragraph[1] + ' }</style>' + html : html;
    },

    separators: function() {
      // A language that is no language tag ("C", which WebKitGTK reports on a
      // desktop without a language setting) keeps the C locale's point and
      // no grouping, as the desktop programs do there.
      var separators = {decimal: '.', group: ''};
      var parts = [];
      try {
        parts = new Intl.NumberFormat(navigator.language).formatToParts(1234567.5);
      } catch (notALanguageTag) {
        // the C locale's separators above
      }
      parts.forEach(function(part) {
        if (part.type === 'decimal' || part.type === 'group') separators[part.type] = part.value;
      });
      return separators;
    },
  },

  // The window's box. From here on, clicks and keys outside the dialog are
  // ignored while a handler runs, and printing takes the box's sheet.
  velnorka_set_form__deps: ['$VelnorkaPage'],
  velnorka_set_form: function(caption, width, height) {
    document.title = UTF8ToString(caption);
    var box = VelnorkaPage.box = VelnorkaPage.element('Form1');
    box.style.setProperty('--width', width + 'px');
    box.style.setProperty('--height', height + 'px');
    window.addEventListener('click', VelnorkaPage.ignoreWhileBusy, true);
    window.addEventListener('keydown', VelnorkaPage.ignoreWhileBusy, true);
    window.addEventListener('mousedown', VelnorkaPage.keepFocus, true);
    window.addEventListener('focusin', VelnorkaPage.focusDialog, true);
    window.addEventListener('beforeprint', VelnorkaPage.preparePrint);
    VelnorkaPage.markWebKit();
  },

  // The stylesheet places the controls in flow, so that a control whose text
  // grows (large text, a minimum font size) pushes the ones below it down
  // instead of running over them: the text box, beside it a column of the
  // other controls, the option buttons one under another in the frame. Each
  // control's margins are what puts it exactly where the control table says
  // when its text has the designed size.
  velnorka_add_control__deps: ['$VelnorkaPage'],
  velnorka_add_control: function(namePointer, kind, captionPointer, inFrame, left, top, width, height, clickEvent) {
    var name = UTF8ToString(namePointer);
    var caption = UTF8ToString(captionPointer);
    var control;  // what is placed
    var focusable;  // what takes the focus and the click
    switch (kind) {
      case 0:  // text box
        control = focusable = document.createElement('textarea');
        control.spellcheck = false;
        break;
      case 1:  // command button
        control = focusable = document.createElement('button');
        control.type = 'button';
        control.textContent = caption;
        break;
      case 2:  // frame
        control = document.createElement('fieldset');
        control.appendChild(document.createElement('legend')).textContent = caption;
        break;
      default:  // option button
        control = document.createElement('label');
        focusable = control.appendChild(document.createElement('input'));
        focusable.type = 'radio';
        focusable.name = 'mode';
        control.appendChild(document.createTextNode(caption));
        VelnorkaPage.options.push(focusable);
    }
    control.id = name;
    control.className = 'control';
    // Custom properties inherit: the frame's would move its options.
    control.style.setProperty('--left', '0px');
    control.style.setProperty('--top', '0px');
    control.style.setProperty('--width', width + 'px');
    control.style.setProperty('--height', height + 'px');
    var container = inFrame ? VelnorkaPage.controls.Frame1 : kind === 0 ? VelnorkaPage.box : VelnorkaPage.column;
    if (!container) {
      container = VelnorkaPage.column = VelnorkaPage.box.appendChild(document.createElement('div'));
      container.className = 'column';
    }
    var above = container.tableBottom;  // the bottom of the control above, in the table
    container.appendChild(control);
    container.tableBottom = top + height;
    // Positions count from the window's client area or the frame's outer
    // corner; the margins take the control from where the flow puts it. The
    // gap to the control above comes from the table, not from the sizes the
    // text has now, so that larger text pushes what is below.
    var origin = inFrame ? container.getBoundingClientRect() : VelnorkaPage.box.getBoundingClientRect();
    var originLeft = origin.left + (inFrame ? 0 : VelnorkaPage.box.clientLeft);
    var originTop = origin.top + (inFrame ? 0 : VelnorkaPage.box.clientTop);
    var placed = control.getBoundingClientRect();
    // The first control of its container goes from where the flow puts it
    // (in the frame: below the caption), never up into the caption however
    // tall the caption's text.
    var marginTop = above === undefined ? Math.max(top - (placed.top - originTop), 0) : top - above;
    control.style.setProperty('--left', (left - (placed.left - originLeft)) + 'px');
    control.style.setProperty('--top', marginTop + 'px');
    VelnorkaPage.controls[name] = control;
    if (clickEvent < 0) return;
    // A radio raises its click when it becomes selected, by mouse or keyboard.
    focusable.addEventListener(kind === 1 ? 'click' : 'change', function() {
      VelnorkaPage.raise('velnorka_raise', [clickEvent], focusable);
    });
  },

  velnorka_set_text_box__deps: ['$VelnorkaPage'],
  velnorka_set_text_box: function(accessibleName, face, points) {
    var box = VelnorkaPage.controls.Text1;
    box.setAttribute('aria-label', UTF8ToString(accessibleName));
    box.style.fontFamily = '"' + UTF8ToString(face) + '", "Liberation Serif", serif';
    box.style.fontSize = points + 'pt';
  },

  velnorka_seed_parameter__deps: ['$VelnorkaPage'],
  velnorka_seed_parameter: function(length) {
    var seed = new URLSearchParams(location.search).get('seed');
    return seed === null ? 0 : VelnorkaPage.toCore(seed, length);
  },

  velnorka_start__deps: ['$VelnorkaPage'],
  velnorka_start: function() {
    VelnorkaPage.fitWindow();
    window.addEventListener('mousedown', VelnorkaPage.ignoreLaterPresses, true);
    window.addEventListener('click', VelnorkaPage.ignoreLaterPresses, true);
    // After main() has returned: Form_Load may wait in a dialog.
    Promise.resolve().then(function() {
      return VelnorkaPage.raise('velnorka_load', [], null);
    }).then(function() {
      var box = VelnorkaPage.box;
      VelnorkaPage.element('Loading').remove();
      box.removeAttribute('aria-busy');
      box.removeAttribute('inert');
      VelnorkaPage.controls.Text1.focus();  // the first control in the tab order
    });
  },

  velnorka_area_text__deps: ['$VelnorkaPage'],
  velnorka_area_text: function(length) {
    return VelnorkaPage.toCore(VelnorkaPage.controls.Text1.value, length);
  },

  velnorka_set_area_text__deps: ['$VelnorkaPage'],
  velnorka_set_area_text: function(text, length) {
    VelnorkaPage.controls.Text1.value = VelnorkaPage.fromCore(text, length);
  },

  velnorka_area_selected_text__deps: ['$VelnorkaPage'],
  velnorka_area_selected_text: function(length) {
    var box = VelnorkaPage.controls.Text1;
    return VelnorkaPage.toCore(box.value.substring(box.selectionStart, box.selectionEnd), length);
  },

  velnorka_area_selection_start__deps: ['$VelnorkaPage'],
  velnorka_area_selection_start: function() { return VelnorkaPage.controls.Text1.selectionStart; },

  velnorka_area_selection_end__deps: ['$VelnorkaPage'],
  velnorka_area_selection_end: function() { return VelnorkaPage.controls.Text1.selectionEnd; },

  velnorka_set_area_selection__deps: ['$VelnorkaPage'],
  velnorka_set_area_selection: function(start, end) {
    VelnorkaPage.controls.Text1.setSelectionRange(start, end);
  },

  velnorka_set_busy__deps: ['$VelnorkaPage'],
  velnorka_set_busy: function(busy) {
    document.documentElement.classList.toggle('busy', !!busy);
  },

  velnorka_check_option__deps: ['$VelnorkaPage'],
  velnorka_check_option: function(option, checked) {
    VelnorkaPage.options[option - 1].checked = !!checked;
  },

  // Inside the click: the copy event carries both flavours unchanged
  // (an asynchronous clipboard write would rewrite the HTML).
  velnorka_copy__deps: ['$VelnorkaPage'],
  velnorka_copy: function(plainText, plainLength, html, htmlLength) {
    var flavours = {
      'text/plain': VelnorkaPage.fromCore(plainText, plainLength),
      'text/html': VelnorkaPage.copyMarkup(VelnorkaPage.fromCore(html, htmlLength)),
    };
    var copied = false;
    var put = function(event) {
      for (var type in flavours) event.clipboardData.setData(type, flavours[type]);
      event.preventDefault();
      copied = true;
    };
    document.addEventListener('copy', put, true);
    try {
      document.execCommand('copy');
    } catch (refused) {
      copied = false;
    } finally {
      document.removeEventListener('copy', put, true);
    }
    return copied;
  },

  velnorka_number_separator__deps: ['$VelnorkaPage'],
  velnorka_number_separator: function(which, length) {
    var separators = VelnorkaPage.separators();
    return VelnorkaPage.toCore(which === 0 ? separators.decimal : separators.group, length);
  },

  velnorka_set_print_sheet__deps: ['$VelnorkaPage'],
  velnorka_set_print_sheet: function(html, length) {
    VelnorkaPage.element('Sheet').innerHTML = VelnorkaPage.fromCore(html, length);
  },
});
