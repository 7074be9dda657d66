function test_help()
  % 'help NAME' for every gateway, and the list of them all.
  names = gateway_names();
  check_eq(numel(names), 21, 'twenty-one gateways in the list');
  contents = evalc('help Contents');
  for i = 1:numel(names)
    text = evalc(['help ' names{i}]);
    assert(~isempty(strfind(text, [names{i} '('])), '%s: help shows the calling form', names{i});
    assert(~isempty(strfind(text, 'Example')), '%s: help has an example', names{i});
    assert(~isempty(strfind(contents, names{i})), '%s is listed in Contents', names{i});
    check_eq(exist(names{i}), 3, [names{i} ' is still the MEX file']);
  end
end
