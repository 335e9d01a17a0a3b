// The report: the kind's A4 template filled from the calculator, as a page to print.
'use strict';

Izol.register({
  name: 'report',
  start(ctx) {
    document.getElementById('RzBmpButton3').addEventListener('click', async () => {
      await ctx.settleEditedField();
    });
  },
});
