// ESLint's rules for the gallery's script (make lint). The script is a
// classic script in strict mode inside one function, run by browsers of the
// last few years: only the browser names listed here may be used, so a
// stray global (name, top, event, status) is an error. Core rules only, so
// the config imports nothing and runs from any folder ESLint is installed in.
const browser = Object.fromEntries([
  'window', 'document', 'navigator', 'location', 'history', 'self', 'performance', 'matchMedia',
  'addEventListener', 'requestAnimationFrame', 'setTimeout', 'clearTimeout', 'setInterval', 'clearInterval',
  'innerHeight', 'scrollY', 'scrollTo', 'Image', 'ResizeObserver',
].map((name) => [name, 'readonly']));

export default [
  {
    files: ['assets/*.js'],
    languageOptions: { ecmaVersion: 2020, sourceType: 'script', globals: browser },
    linterOptions: { reportUnusedDisableDirectives: 'error' },
    rules: {
      'for-direction': 'error', 'getter-return': 'error', 'no-async-promise-executor': 'error',
      'no-compare-neg-zero': 'error', 'no-cond-assign': 'error', 'no-constant-binary-expression': 'error',
      'no-constant-condition': 'error', 'no-control-regex': 'error', 'no-debugger': 'error', 'no-dupe-args': 'error',
      'no-dupe-else-if': 'error', 'no-dupe-keys': 'error', 'no-duplicate-case': 'error', 'no-empty': 'error',
      'no-empty-character-class': 'error', 'no-empty-pattern': 'error', 'no-ex-assign': 'error',
      'no-extra-boolean-cast': 'error', 'no-fallthrough': 'error', 'no-func-assign': 'error', 'no-global-assign': 'error',
      'no-import-assign': 'error', 'no-invalid-regexp': 'error', 'no-irregular-whitespace': 'error',
      'no-loss-of-precision': 'error', 'no-misleading-character-class': 'error', 'no-obj-calls': 'error',
      'no-prototype-builtins': 'error', 'no-redeclare': 'error', 'no-regex-spaces': 'error', 'no-self-assign': 'error',
      'no-self-compare': 'error', 'no-shadow-restricted-names': 'error', 'no-sparse-arrays': 'error',
      'no-undef': 'error', 'no-unexpected-multiline': 'error', 'no-unreachable': 'error', 'no-unsafe-finally': 'error',
      'no-unsafe-negation': 'error', 'no-unsafe-optional-chaining': 'error', 'no-unused-labels': 'error',
      'no-unused-vars': ['error', { args: 'none', caughtErrors: 'none' }], 'no-useless-backreference': 'error',
      'no-useless-catch': 'error', 'no-useless-escape': 'error', 'no-with': 'error', 'use-isnan': 'error',
      'valid-typeof': 'error',
      // Beyond the recommended set: what bites in a browser script.
      'eqeqeq': ['error', 'always', { null: 'ignore' }], 'no-eval': 'error', 'no-implied-eval': 'error',
      'no-new-func': 'error', 'no-implicit-globals': 'error', 'no-use-before-define': ['error', { functions: false }],
      'no-unmodified-loop-condition': 'error', 'no-template-curly-in-string': 'error', 'strict': ['error', 'function'],
    },
  },
];
