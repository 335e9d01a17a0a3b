// The report: the kind's A4 template, filled by the same code as the desktop's, laid out
// as boxes placed in millimetres on a sheet that the browser prints or saves as PDF.
'use strict';

Izol.register({
  name: 'report',
  start(ctx) {
    const $ = (id) => document.getElementById(id);
    const view = $('ReportView');
    const sheet = $('ReportSheet');
    let pageTitle = document.title;
    let opener = null;

    const two = (n) => String(n).padStart(2, '0');

    function render(report) {
      sheet.style.width = report.widthMm + 'mm';
      sheet.style.height = report.heightMm + 'mm';
      sheet.replaceChildren(
        ...report.boxes.map((b) => {
          const box = document.createElement('div');
          box.className = 'box';
          box.dataset.name = b.name;
          const s = box.style;
          s.left = b.leftMm + 'mm';
          s.top = b.topMm + 'mm';
          s.width = b.widthMm + 'mm';
          s.minHeight = b.heightMm + 'mm';
          s.fontFamily = `"${b.family}", "Liberation Sans", Arial, sans-serif`;
          s.fontSize = b.sizePx + 'px';
          s.fontWeight = b.bold ? '700' : '400';
          s.textDecoration = b.underline ? 'underline' : 'none';
          s.color = b.color;
          if (b.background) s.background = b.background;
          box.textContent = b.text;
          return box;
        })
      );
    }

    async function open() {
      await ctx.settleEditedField();
      if (ctx.calculator.method() < 0) {
        await ctx.showMessage('Выберите вид расчёта', 'Отчёт');
        return;
      }
      if (!ctx.module.report) {
        await ctx.showMessage('Отчёт в этой сборке страницы недоступен', 'Отчёт');
        return;
      }
      const now = new Date();
      const iso = `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}`;
      const day = `${two(now.getDate())}.${two(now.getMonth() + 1)}.${now.getFullYear()}`;
      const report = ctx.module.report(ctx.calculator, iso, day);
      render(report);
      opener = document.activeElement;
      pageTitle = document.title;
      // The title names the PDF that the browser saves.
      document.title = report.title;
      document.body.classList.add('reporting');
      view.hidden = false;
      $('reportPrint').focus();
    }

    function close() {
      view.hidden = true;
      document.body.classList.remove('reporting');
      document.title = pageTitle;
      if (opener) opener.focus();
    }

    $('RzBmpButton3').addEventListener('click', open);
    $('reportPrint').addEventListener('click', () => window.print());
    $('reportClose').addEventListener('click', close);
    view.addEventListener('keydown', (ev) => {
      if (ev.key === 'Escape') close();
    });
    Izol.openReport = open;
  },
});
